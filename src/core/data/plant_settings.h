#pragma once
#include <QList>
#include <QString>

class ProfileFile;

// The sixteen plant settings of the settings file, all text.
struct PlantSettings {
    QString comm1_port;
    QString comm1_speed;
    QString comm2_port;
    QString comm2_speed;
    QString mortar_code;
    QString mortar_qty;
    QString cement_text;
    QString gravel_text;
    QString admixture_text;
    QString concrete_text;
    QString person_in_charge;
    QString chloride_text;
    QString air_text;
    QString remark_text;
    QString top_margin;
    QString left_margin;

    // Where one field lives in the settings file.
    struct Key {
        const char *section;
        const char *key;
        QString PlantSettings::*field;
    };

    // Every key in the order the data module reads them.
    static const QList<Key> &read_order();
    // The keys the communication dialog writes, in its order.
    static const QList<Key> &comm_keys();
    // The keys the environment dialog writes, in its order.
    static const QList<Key> &option_keys();

    static PlantSettings load(const ProfileFile &file);
    static PlantSettings load(const QString &path);

    // Writes the given keys with this object's values and keeps every other
    // line of the file.  False with *error_text when it cannot be written.
    bool write(const QString &path, const QList<Key> &keys, QString *error_text = nullptr) const;
};

// The settings file's place on this system: its Windows path on Windows,
// $XDG_CONFIG_HOME/vorn/dodaviv/Vorn.Ini elsewhere.
QString default_settings_path();
