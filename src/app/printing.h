#pragma once

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

class QPainter;
class QPrinter;
class QWidget;

// Where an image of that size goes on an area of that size: as large as fits,
// its aspect ratio kept, centred.
QRect FitImageRect(const QSize& image, const QSize& area);

// Draws the image onto the painter's whole viewport, scaled to fit (no smoothing).
void PaintImageToFit(QPainter& painter, const QImage& image);

// Prints the image on one page of a printer that is set up already. False with
// a reason in error when the printer could not be started or failed.
bool PrintImageOnPrinter(QPrinter& printer, const QImage& image, QString* error = nullptr);

// Prints the image to a PDF file, one landscape page, scaled to fit. Raises
// IoError when the file cannot be written.
void PrintImageToPdf(const QImage& image, const QString& fileName);

// What the printing talks to besides the printer itself; tests replace it.
class PrintServices {
public:
    virtual ~PrintServices() = default;
    virtual bool HasDefaultPrinter();
    virtual bool HasAnyPrinter();
    // Points the printer object at the default printer.
    virtual void UseDefaultPrinter(QPrinter& printer);
    // Lets the user choose a printer (or a PDF file) for this printer object;
    // false when cancelled.
    virtual bool ChoosePrinter(QPrinter& printer, QWidget* parent);
};

// Not owned; nullptr goes back to the system's printers and print dialog.
void SetPrintServices(PrintServices* services);
PrintServices& CurrentPrintServices();

// The Print command's printing: the image on the default printer, landscape,
// one page, scaled to fit. With no default printer a message says so and the
// print dialog is offered (it can print to a PDF file). A print that fails is
// reported with a message. True when the image was printed.
bool PrintImage(const QImage& image, QWidget* parent = nullptr);

// The texts shown by PrintImage.
extern const char* const kNoPrinterInstalledText;
extern const char* const kNoDefaultPrinterText;
