#include "core/framework/korean_text.h"

#include <QGuiApplication>
#include <QFont>
#include <QFontDatabase>
#include <QStringDecoder>
#include <QStringEncoder>

namespace cp949 {
namespace {
constexpr const char *codec_name = "windows-949";
}

bool available()
{
    return QStringEncoder(codec_name).isValid() && QStringDecoder(codec_name).isValid();
}

QByteArray encode(const QString &text)
{
    QStringEncoder enc(codec_name);
    return enc.encode(text);
}

QString decode(const QByteArray &bytes)
{
    QStringDecoder dec(codec_name);
    return dec.decode(bytes);
}
}

void install_korean_fonts()
{
    const QStringList families = QFontDatabase::families();
    QString target;
    for (const char *candidate : {"NanumGothic", "나눔고딕", "Noto Sans CJK KR", "Malgun Gothic", "Gulim"}) {
        if (families.contains(QString::fromUtf8(candidate))) {
            target = QString::fromUtf8(candidate);
            break;
        }
    }
    if (target.isEmpty())
        return;
    if (target != QLatin1String("Gulim"))
        QFont::insertSubstitution(QStringLiteral("Gulim"), target);
    QFont::insertSubstitution(QStringLiteral("굴림"), target);
    QFont::insertSubstitution(QStringLiteral("굴림체"), target);
    QFont app_font(QStringLiteral("굴림"));
    app_font.setPointSizeF(9.5);
    QGuiApplication::setFont(app_font);
}
