#include "app/printing.h"

#include "common/io_error.h"
#include "common/messages.h"

#include <QDir>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <algorithm>
#include <cmath>

const char* const kNoPrinterInstalledText =
    "No printer is installed. Choose where to print in the print dialog that follows; it can also print "
    "to a PDF file.";
const char* const kNoDefaultPrinterText =
    "No default printer is set. Choose a printer in the print dialog that follows; it can also print to a "
    "PDF file.";

namespace {

PrintServices*& InstalledServices() {
    static PrintServices* services = nullptr;
    return services;
}

void ShowNote(const QString& text) {
    if (!MessagesEnabled())
        return;
    CurrentMessagePresenter()->Present(QString::fromLatin1(kProgramTitle), text, MB_ICONINFORMATION | MB_OK,
                                       IDOK);
}

void PrepareForModelImage(QPrinter& printer) {
    printer.setDocName(QString::fromLatin1(kProgramTitle));
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setFromTo(0, 0);
}

QString PrinterDescription(const QPrinter& printer) {
    if (printer.outputFormat() == QPrinter::PdfFormat)
        return QStringLiteral("the PDF file \"%1\"").arg(QDir::toNativeSeparators(printer.outputFileName()));
    if (printer.printerName().isEmpty())
        return QStringLiteral("the printer");
    return QStringLiteral("the printer \"%1\"").arg(printer.printerName());
}

} // namespace

QRect FitImageRect(const QSize& image, const QSize& area) {
    if (image.isEmpty() || area.isEmpty())
        return QRect();
    const double scale = std::min(static_cast<double>(area.width()) / image.width(),
                                  static_cast<double>(area.height()) / image.height());
    const int width = std::clamp(static_cast<int>(std::lround(image.width() * scale)), 1, area.width());
    const int height = std::clamp(static_cast<int>(std::lround(image.height() * scale)), 1, area.height());
    return QRect((area.width() - width) / 2, (area.height() - height) / 2, width, height);
}

void PaintImageToFit(QPainter& painter, const QImage& image) {
    const QRect area = painter.viewport();
    const QRect target = FitImageRect(image.size(), area.size());
    if (target.isEmpty())
        return;
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    // Block pictures are pixel art: no lossy compression in PDF output.
    painter.setRenderHint(QPainter::LosslessImageRendering, true);
    painter.drawImage(target, image);
    painter.restore();
}

bool PrintImageOnPrinter(QPrinter& printer, const QImage& image, QString* error) {
    const auto fail = [&](const QString& reason) {
        if (error)
            *error = reason;
        return false;
    };
    if (image.isNull())
        return fail(QStringLiteral("There is no picture to print."));
    QPainter painter;
    if (!painter.begin(&printer))
        return fail(QStringLiteral("The picture could not be printed: %1 could not be opened.")
                        .arg(PrinterDescription(printer)));
    PaintImageToFit(painter, image);
    const bool ended = painter.end();
    if (!ended || printer.printerState() == QPrinter::Error || printer.printerState() == QPrinter::Aborted)
        return fail(QStringLiteral("The picture could not be printed: %1 reported an error.")
                        .arg(PrinterDescription(printer)));
    return true;
}

void PrintImageToPdf(const QImage& image, const QString& fileName) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(fileName);
    PrepareForModelImage(printer);
    QString error;
    if (!PrintImageOnPrinter(printer, image, &error))
        throw IoError(error.toStdString());
}

bool PrintServices::HasDefaultPrinter() {
    return !QPrinterInfo::defaultPrinter().isNull();
}

bool PrintServices::HasAnyPrinter() {
    return !QPrinterInfo::availablePrinterNames().isEmpty();
}

void PrintServices::UseDefaultPrinter(QPrinter& printer) {
    printer.setPrinterName(QPrinterInfo::defaultPrinter().printerName());
}

bool PrintServices::ChoosePrinter(QPrinter& printer, QWidget* parent) {
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QString::fromLatin1(kProgramTitle));
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    return dialog.exec() == QDialog::Accepted;
}

void SetPrintServices(PrintServices* services) {
    InstalledServices() = services;
}

PrintServices& CurrentPrintServices() {
    static PrintServices system;
    return InstalledServices() ? *InstalledServices() : system;
}

bool PrintImage(const QImage& image, QWidget* parent) {
    if (image.isNull()) {
        ShowErrorBox(QStringLiteral("There is no picture to print."));
        return false;
    }
    PrintServices& services = CurrentPrintServices();
    QPrinter printer(QPrinter::HighResolution);
    if (services.HasDefaultPrinter()) {
        services.UseDefaultPrinter(printer);
        PrepareForModelImage(printer);
    } else {
        ShowNote(
            QString::fromLatin1(services.HasAnyPrinter() ? kNoDefaultPrinterText : kNoPrinterInstalledText));
        PrepareForModelImage(printer);
        if (!services.ChoosePrinter(printer, parent))
            return false; // the user cancelled
    }
    QString error;
    if (!PrintImageOnPrinter(printer, image, &error)) {
        ShowErrorBox(error);
        return false;
    }
    return true;
}
