#include "core/framework/profile_file.h"
#include "core/framework/korean_text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

namespace {
bool same_name(const QString &a, const QString &b)
{
    return a.trimmed().compare(b.trimmed(), Qt::CaseInsensitive) == 0;
}

bool is_utf8_with_non_ascii(const QByteArray &bytes)
{
    bool non_ascii = false;
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            non_ascii = true;
            break;
        }
    }
    if (!non_ascii)
        return false;
    QStringDecoder dec(QStringDecoder::Utf8);
    const QString decoded = dec.decode(bytes);  // decoding happens on conversion
    Q_UNUSED(decoded);
    return !dec.hasError();
}
}

ProfileFile::ProfileFile(const QString &path) : path_(path)
{
    if (path.isEmpty())
        return;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return;
    exists_ = true;
    QByteArray all = f.readAll();
    // Notepad's "Unicode": read as UTF-16 and written back the same way.  Its
    // Latin letters carry zero bytes, which a CP949 file never holds.
    const bool utf16 = all.contains('\0');
    const bool le = utf16 && all.startsWith("\xFF\xFE"), be = utf16 && all.startsWith("\xFE\xFF");
    if (le || be) {
        QStringDecoder dec(le ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE);
        const QString text = dec.decode(all.mid(2));
        utf16_ = le ? Utf16::LittleEndian : Utf16::BigEndian;
        all = text.toUtf8();
        utf8_ = true;
    } else if (all.startsWith("\xEF\xBB\xBF"))
        utf8_ = true;
    else
        utf8_ = is_utf8_with_non_ascii(all);
    if (!all.contains("\r\n") && all.contains('\n'))
        eol_ = "\n";
    final_eol_ = all.isEmpty() || all.endsWith('\n');
    QList<QByteArray> raws = all.split('\n');
    if (!all.isEmpty() && all.endsWith('\n'))
        raws.removeLast();
    for (QByteArray raw : raws) {
        if (raw.endsWith('\r'))
            raw.chop(1);
        lines_ << parse(raw);
    }
}

QString ProfileFile::decode(const QByteArray &bytes) const
{
    if (utf8_) {
        QByteArray b = bytes;
        if (b.startsWith("\xEF\xBB\xBF"))
            b.remove(0, 3);
        return QString::fromUtf8(b);
    }
    return cp949::decode(bytes);
}

QByteArray ProfileFile::encode(const QString &text) const
{
    return utf8_ ? text.toUtf8() : cp949::encode(text);
}

ProfileFile::Line ProfileFile::parse(const QByteArray &raw) const
{
    Line line;
    line.raw = raw;
    const QString text = decode(raw).trimmed();
    if (text.startsWith(QLatin1Char('[')) && text.contains(QLatin1Char(']'))) {
        line.kind = Line::Section;
        line.section = text.mid(1, text.indexOf(QLatin1Char(']')) - 1).trimmed();
        return line;
    }
    if (text.startsWith(QLatin1Char(';')))
        return line;
    const int eq = text.indexOf(QLatin1Char('='));
    if (eq <= 0)
        return line;
    line.kind = Line::Key;
    line.key = text.left(eq).trimmed();
    line.value = text.mid(eq + 1).trimmed();
    return line;
}

int ProfileFile::find_section(const QString &section) const
{
    for (int i = 0; i < lines_.size(); ++i)
        if (lines_[i].kind == Line::Section && same_name(lines_[i].section, section))
            return i;
    return -1;
}

int ProfileFile::find_key(int section_line, const QString &key) const
{
    for (int i = section_line + 1; i < lines_.size(); ++i) {
        if (lines_[i].kind == Line::Section)
            break;
        if (lines_[i].kind == Line::Key && same_name(lines_[i].key, key))
            return i;
    }
    return -1;
}

QString ProfileFile::read(const QString &section, const QString &key,
                          const QString &default_value) const
{
    const int s = find_section(section);
    if (s < 0)
        return default_value;
    const int k = find_key(s, key);
    return k < 0 ? default_value : lines_[k].value;
}

void ProfileFile::set(const QString &section, const QString &key, const QString &value)
{
    Line line;
    line.kind = Line::Key;
    line.key = key;
    line.value = value;
    line.raw = encode(key + QLatin1Char('=') + value);

    int s = find_section(section);
    if (s < 0) {
        if (!lines_.isEmpty() && !lines_.last().raw.trimmed().isEmpty()) {
            Line blank;
            lines_ << blank;
        }
        Line header;
        header.kind = Line::Section;
        header.section = section;
        header.raw = encode(QLatin1Char('[') + section + QLatin1Char(']'));
        lines_ << header << line;
        return;
    }
    const int k = find_key(s, key);
    if (k >= 0) {
        lines_[k] = line;
        return;
    }
    // After the section's last non-blank line, so blank separators stay last.
    int insert_at = s + 1;
    for (int i = s + 1; i < lines_.size() && lines_[i].kind != Line::Section; ++i)
        if (!lines_[i].raw.trimmed().isEmpty())
            insert_at = i + 1;
    lines_.insert(insert_at, line);
}

bool ProfileFile::save(QString *error_text)
{
    QFileInfo info(path_);
    if (!QDir().mkpath(info.absolutePath())) {
        if (error_text)
            *error_text = QStringLiteral("설정 파일의 폴더를 만들 수 없습니다: %1").arg(info.absolutePath());
        return false;
    }
    QByteArray out;
    for (int i = 0; i < lines_.size(); ++i) {
        out += lines_[i].raw;
        if (i + 1 < lines_.size() || final_eol_)
            out += eol_;
    }
    if (utf16_ != Utf16::No) {
        QStringEncoder enc(utf16_ == Utf16::LittleEndian ? QStringEncoder::Utf16LE : QStringEncoder::Utf16BE);
        const QByteArray body = enc.encode(QString::fromUtf8(out));
        out = (utf16_ == Utf16::LittleEndian ? QByteArray("\xFF\xFE") : QByteArray("\xFE\xFF")) + body;
    }
    QSaveFile f(path_);
    // Writing in place keeps the file's owner and permissions, and works
    // where the folder is not writable but the file is.
    f.setDirectWriteFallback(true);
    if (!f.open(QIODevice::WriteOnly) || f.write(out) != out.size() || !f.commit()) {
        if (error_text)
            *error_text = QStringLiteral("설정 파일을 저장할 수 없습니다: %1\n%2").arg(path_, f.errorString());
        return false;
    }
    exists_ = true;
    return true;
}

bool ProfileFile::write(const QString &path, const QList<Entry> &entries, QString *error_text)
{
    ProfileFile file(path);
    for (const Entry &e : entries)
        file.set(e.section, e.key, e.value);
    return file.save(error_text);
}
