#include "gui/framework/report_output.h"
#include "core/framework/guarded.h"
#include "core/framework/report_pdf.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QScreen>

namespace {
void set_up(QPrinter &printer, const report::Document &document, bool keep_printer_paper)
{
    printer.setFullPage(true);
    printer.setDocName(document.title);
    printer.setPageOrientation(document.setup.orientation);
    if (!keep_printer_paper)
        printer.setPageSize(document.setup.paper);
}

// The file a print in the folder mode goes to: the title and the time.
QString print_file_path(const QString &folder, const QString &title)
{
    QString base = title;
    base.replace(QRegularExpression(QStringLiteral("[\\\\/:*?\"<>|\\s]+")), QStringLiteral("_"));
    if (base.isEmpty())
        base = QStringLiteral("report");
    base += QLatin1Char('_') + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz"));
    return report::unused_pdf_path(folder, base);
}
}

ReportOutput::ReportOutput(QString pdf_folder)
    : default_printer_name([] { return QPrinterInfo::defaultPrinterName(); }),
      pdf_folder_(std::move(pdf_folder))
{
}

QString ReportOutput::print(const report::Document &document) const
{
    if (!pdf_folder_.isEmpty()) {
        const QString path = print_file_path(pdf_folder_, document.title);
        report::write_pdf(document, path);
        return path;
    }

    // Without a printer Qt would quietly make a PDF file nobody sees.
    const QString name = default_printer_name ? default_printer_name() : QString();
    if (name.isEmpty())
        throw ActionError(QStringLiteral("프린터가 없습니다. 기본 프린터를 설치하십시오. (%1 인쇄 안 됨)")
                              .arg(document.title));
    // An unknown name makes Qt print to the system's default printer, or,
    // without one, to a PDF file nobody sees.
    if (QPrinterInfo::printerInfo(name).isNull())
        throw ActionError(QStringLiteral("프린터 \"%1\"을(를) 쓸 수 없습니다. (%2 인쇄 안 됨)")
                              .arg(name, document.title));
    QPrinter printer(QPrinter::HighResolution);
    printer.setPrinterName(name);
    if (!printer.isValid() || printer.outputFormat() != QPrinter::NativeFormat || printer.printerName() != name)
        throw ActionError(QStringLiteral("프린터 \"%1\"을(를) 쓸 수 없습니다. (%2 인쇄 안 됨)")
                              .arg(name, document.title));
    set_up(printer, document, document.setup.printer_paper);
    QPainter painter;
    if (!painter.begin(&printer))
        throw ActionError(QStringLiteral("프린터 \"%1\"에 인쇄를 시작할 수 없습니다. (%2 인쇄 안 됨)")
                              .arg(name, document.title));
    report::render(painter, printer, document);
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        throw ActionError(QStringLiteral("프린터 \"%1\"의 인쇄 작업이 실패했습니다. %2이(가) 인쇄되었는지 확인하십시오.")
                              .arg(name, document.title));
    return name;
}

void ReportOutput::preview(const report::Document &document, QWidget *parent) const
{
    QPrinter printer(QPrinter::HighResolution);
    const QString name = default_printer_name ? default_printer_name() : QString();
    if (pdf_folder_.isEmpty() && !name.isEmpty()) {
        printer.setPrinterName(name);
    } else {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(print_file_path(pdf_folder_.isEmpty() ? QDir::homePath() : pdf_folder_,
                                                  document.title));
    }
    set_up(printer, document, false);
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setWindowTitle(document.title);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&document](QPrinter *to) {
        QPainter painter(to);
        report::render(painter, *to, document);
    });
    // Full screen also where no window manager maximises.
    dialog.setGeometry(dialog.screen()->availableGeometry());
    dialog.setWindowState(Qt::WindowMaximized);
    dialog.exec();
}
