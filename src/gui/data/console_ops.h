#pragma once
#include <QObject>
#include <QString>

// Told on the console's thread after each load the console has recorded
// and committed (from the controller or from its outage journal), so that
// an open window can follow the plant.
class LoadNotices : public QObject {
    Q_OBJECT
Q_SIGNALS:
    void load_recorded();
};

// The console operations that other windows call after they change
// orders, shipments or vehicles.  Handed to those windows so that they
// need not know the whole console; tests hand them a fake.
class ConsoleOps {
public:
    virtual ~ConsoleOps() = default;
    virtual QString board_date() const = 0;
    // The operator logged in now (the console's "담당자" field), printed on
    // tickets as the shipper.
    virtual QString operator_name() const = 0;
    virtual void load_orders(const QString &date, const QString &state) = 0;
    virtual void load_shipments(const QString &date, const QString &seq) = 0;
    virtual void load_vehicles(const QString &state) = 0;
    virtual void recount_vehicle(const QString &date, const QString &vehicle_code,
                                 const QString &site_name) = 0;
    virtual void recount_all_vehicles(const QString &date) = 0;
    // The database was found away and has not answered since: refreshes
    // that only show something are left until it is back.
    virtual bool database_away() { return false; }
    // The notices of recorded loads; none from a console that records none.
    virtual LoadNotices *load_notices() { return nullptr; }
};
