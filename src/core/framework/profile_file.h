#pragma once
#include <QByteArray>
#include <QList>
#include <QString>

// A Windows-style settings file ("[section]" and "key=value" lines) in code
// page 949, read and written the way the Windows profile functions do it:
// sections and keys match without regard to ASCII case and surrounding
// blanks, a missing file, section or key reads as the default, and writing
// changes only the lines of the keys written.  Every other byte of the file
// stays as it was, because other programs and people edit the same file.
//
// A file that is valid UTF-8 with non-ASCII text in it was saved by some
// editor in UTF-8; it is read and written in UTF-8 so that its own lines
// are not garbled.  One that starts with a UTF-16 byte-order mark (Notepad's
// "Unicode") is read and written in UTF-16.
class ProfileFile {
public:
    struct Entry {
        QString section;
        QString key;
        QString value;
    };

    // Reads the file now; a missing or unreadable file is empty.
    explicit ProfileFile(const QString &path);

    QString path() const { return path_; }
    bool exists() const { return exists_; }
    bool is_utf8() const { return utf8_; }
    bool is_utf16() const { return utf16_ != Utf16::No; }

    QString read(const QString &section, const QString &key,
                 const QString &default_value = QString()) const;

    // Sets the keys in memory, adding sections and keys that are missing.
    void set(const QString &section, const QString &key, const QString &value);

    // Writes the file atomically, creating its folder when needed.
    // Returns false and fills *error_text when it cannot be written.
    bool save(QString *error_text = nullptr);

    // Reads the file as it is on disk now, sets the entries and saves, so
    // that changes others made since start-up are kept.
    static bool write(const QString &path, const QList<Entry> &entries,
                      QString *error_text = nullptr);

private:
    enum class Utf16 { No, LittleEndian, BigEndian };
    Utf16 utf16_ = Utf16::No;
    struct Line {
        QByteArray raw;       // without the line ending
        QString section;      // for a section header: its name
        QString key;          // for a key line: its key
        QString value;
        enum Kind { Other, Section, Key } kind = Other;
    };

    Line parse(const QByteArray &raw) const;
    QString decode(const QByteArray &bytes) const;
    QByteArray encode(const QString &text) const;
    int find_section(const QString &section) const;
    int find_key(int section_line, const QString &key) const;

    QString path_;
    bool exists_ = false;
    bool utf8_ = false;
    QByteArray eol_ = "\r\n";
    bool final_eol_ = true;
    QList<Line> lines_;
};
