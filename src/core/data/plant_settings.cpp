#include "core/data/plant_settings.h"
#include "core/framework/profile_file.h"

#include <QDir>
#include <QStandardPaths>

namespace {
using K = PlantSettings::Key;
// Section and key names as the plant's existing files have them.
const K k_comm1_port{"통신1", "포트", &PlantSettings::comm1_port};
const K k_comm1_speed{"통신1", "속도", &PlantSettings::comm1_speed};
const K k_comm2_port{"통신2", "포트", &PlantSettings::comm2_port};
const K k_comm2_speed{"통신2", "속도", &PlantSettings::comm2_speed};
const K k_mortar_code{"몰탈", "코드", &PlantSettings::mortar_code};
const K k_mortar_qty{"몰탈", "수량", &PlantSettings::mortar_qty};
const K k_cement{"제품", "시멘트", &PlantSettings::cement_text};
const K k_gravel{"제품", "골재", &PlantSettings::gravel_text};
const K k_admixture{"제품", "혼화제", &PlantSettings::admixture_text};
const K k_concrete{"제품", "콘크리트", &PlantSettings::concrete_text};
const K k_chloride{"제품", "염분함량", &PlantSettings::chloride_text};
const K k_air{"제품", "공기량", &PlantSettings::air_text};
const K k_remark{"제품", "비고", &PlantSettings::remark_text};
const K k_top{"여백", "윗여백", &PlantSettings::top_margin};
const K k_left{"여백", "왼쪽여백", &PlantSettings::left_margin};
const K k_person{"담당", "담당자", &PlantSettings::person_in_charge};
}

const QList<PlantSettings::Key> &PlantSettings::read_order()
{
    static const QList<Key> keys{k_comm1_port, k_comm1_speed, k_comm2_port, k_comm2_speed,
                                 k_mortar_code, k_mortar_qty, k_cement, k_gravel,
                                 k_admixture, k_concrete, k_chloride, k_air,
                                 k_remark, k_top, k_left, k_person};
    return keys;
}

const QList<PlantSettings::Key> &PlantSettings::comm_keys()
{
    static const QList<Key> keys{k_comm1_port, k_comm1_speed, k_comm2_port, k_comm2_speed};
    return keys;
}

const QList<PlantSettings::Key> &PlantSettings::option_keys()
{
    static const QList<Key> keys{k_mortar_code, k_mortar_qty, k_cement, k_gravel,
                                 k_admixture, k_concrete, k_chloride, k_air,
                                 k_remark, k_top, k_left, k_person};
    return keys;
}

PlantSettings PlantSettings::load(const ProfileFile &file)
{
    PlantSettings s;
    for (const Key &k : read_order())
        s.*(k.field) = file.read(QString::fromUtf8(k.section), QString::fromUtf8(k.key));
    return s;
}

PlantSettings PlantSettings::load(const QString &path)
{
    return load(ProfileFile(path));
}

bool PlantSettings::write(const QString &path, const QList<Key> &keys, QString *error_text) const
{
    QList<ProfileFile::Entry> entries;
    for (const Key &k : keys)
        entries << ProfileFile::Entry{QString::fromUtf8(k.section), QString::fromUtf8(k.key), this->*(k.field)};
    return ProfileFile::write(path, entries, error_text);
}

QString default_settings_path()
{
#ifdef Q_OS_WIN
    return QStringLiteral("C:\\program files\\vorn\\dodaviv\\Vorn.Ini");
#else
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return QDir(config).filePath(QStringLiteral("vorn/dodaviv/Vorn.Ini"));
#endif
}
