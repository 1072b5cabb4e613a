#include "core/data/print_settings.h"
#include "core/framework/profile_file.h"

namespace {
QString setting(const ProfileFile &file, const char *key, const char *variable)
{
    if (qEnvironmentVariableIsSet(variable))
        return qEnvironmentVariable(variable).trimmed();
    return file.read(QStringLiteral("VELDARO"), QString::fromLatin1(key)).trimmed();
}
}

PrintSettings PrintSettings::load(const QString &settings_path)
{
    const ProfileFile file(settings_path);
    PrintSettings s;
    s.pdf_folder = setting(file, "print_to_pdf", "VELDARO_PRINT_TO_PDF");
    s.ticket_copy_folder = setting(file, "ticket_copies", "VELDARO_TICKET_COPIES");
    return s;
}
