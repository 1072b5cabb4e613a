#pragma once
#include "core/framework/report.h"

#include <QImage>
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

// One page drawn on a white image of `px_per_mm` pixels per millimetre.
QImage render_image(const report::Document &document, int page = 0, double px_per_mm = 10);

// How dark the image is inside a box in millimetres: 0 white, 1 black.
double darkness(const QImage &image, const QRectF &mm, double px_per_mm = 10);
