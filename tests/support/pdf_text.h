#pragma once
#include <QList>
#include <QRectF>
#include <QString>

// The words of a PDF page as poppler's `pdftotext -bbox` sees them, in
// millimetres from the page's top-left corner.  The U+0001 that NanumGothic's
// spaces turn into are read as spaces.
struct PdfWord {
    QString text;
    QRectF box;
};

// Fails the running test when pdftotext is missing or cannot read the file.
QList<PdfWord> pdf_words(const QString &pdf_path, int page = 1);

// Every place where `text` stands on one line (consecutive words joined by
// single spaces), as the box around those words.
QList<QRectF> find_text(const QList<PdfWord> &words, const QString &text);

// All the page's text, word by word, joined by single spaces.
QString all_text(const QList<PdfWord> &words);
