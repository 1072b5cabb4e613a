#pragma once
#include "core/data/connection_settings.h"
#include "core/data/plant_settings.h"
#include "core/data/ticket_data.h"
#include "core/framework/database.h"

#include <QObject>

// The operator name and product name of the plant's one `enrol` row.
struct EnrolRow {
    QString name;
    QString japum;
};

// Owns the database connection, the plant settings and the ticket record
// for the whole run.
class TF_DBMDL : public QObject {
    Q_OBJECT
public:
    // Reads the settings file at once; does not connect yet.
    TF_DBMDL(const QString &settings_path, const ConnectionSettings &connection,
             QObject *parent = nullptr);
    ~TF_DBMDL() override;

    // Opens remi_db.  The embedded database gets its tables on first start.
    // Throws DbError; a server that does not answer fails within seconds.
    void connect_database();

    const Database &db() const { return remi_db; }
    const ConnectionSettings &connection_settings() const { return connection_; }

    // What start-up should tell about the settings file (read all the
    // same); empty when nothing.
    QString settings_notice;
    QString settings_path() const { return settings_path_; }
    PlantSettings settings;
    TicketData ticket_data;

private:
    void configure_connection();

    QString settings_path_;
    ConnectionSettings connection_;
    Database remi_db;
};

// The first `enrol` row; empty texts when the table is empty.
EnrolRow read_enrol(const Database &db);
