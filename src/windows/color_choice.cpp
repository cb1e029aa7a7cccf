#include "windows/color_choice.h"

#include <QColorDialog>

namespace {

TColorChooser& InstalledChooser() {
    static TColorChooser chooser;
    return chooser;
}

bool StandardColorDialog(QWidget* parent, TColor& color) {
    const QColor chosen = QColorDialog::getColor(ColorToQColor(color), parent);
    if (!chosen.isValid())
        return false;
    color = RgbToColor(chosen.rgb());
    return true;
}

} // namespace

bool ChooseColor(QWidget* parent, TColor& color) {
    const TColorChooser& chooser = InstalledChooser();
    return chooser ? chooser(parent, color) : StandardColorDialog(parent, color);
}

void SetColorChooser(TColorChooser chooser) {
    InstalledChooser() = std::move(chooser);
}
