#include "core/framework/report_pdf.h"
#include "core/framework/guarded.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

namespace report {

QString unused_pdf_path(const QString &folder, const QString &base_name)
{
    const QDir dir(folder);
    QString path = dir.filePath(base_name + QStringLiteral(".pdf"));
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = dir.filePath(QStringLiteral("%1_%2.pdf").arg(base_name).arg(n));
    return path;
}

void write_pdf(const report::Document &document, const QString &path)
{
    const QString failed = QStringLiteral("PDF 파일을 쓸 수 없습니다: %1").arg(QDir::toNativeSeparators(path));
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        throw ActionError(failed);
    // Written under a temporary name and renamed when complete, so that
    // nobody picks up half a file.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw ActionError(failed + QStringLiteral(" (") + file.errorString() + QLatin1Char(')'));
    {
        QPdfWriter writer(&file);
        writer.setTitle(document.title);
        writer.setCreator(QStringLiteral("VELDARO"));
        writer.setResolution(1200);
        writer.setPageLayout(QPageLayout(document.setup.paper, document.setup.orientation, QMarginsF()));
        QPainter painter;
        if (!painter.begin(&writer))
            throw ActionError(failed);
        report::render(painter, writer, document);
        if (!painter.end())
            throw ActionError(failed);
    }
    if (!file.commit())
        throw ActionError(failed + QStringLiteral(" (") + file.errorString() + QLatin1Char(')'));
}

}
