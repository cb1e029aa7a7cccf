#include "windows/file_dialog_filters.h"

#include <QFileDialog>
#include <QFileSystemModel>
#include <QRegularExpression>

namespace {

// The patterns in the brackets at the end of a filter's caption.
QStringList Patterns(const QString& filter) {
    static const QRegularExpression brackets(QStringLiteral("\\(([^()]*)\\)\\s*$"));
    const QRegularExpressionMatch match = brackets.match(filter);
    return match.hasMatch() ? match.captured(1).split(QLatin1Char(' '), Qt::SkipEmptyParts) : QStringList();
}

} // namespace

void MatchEveryFileWithStarDotStar(QFileDialog& dialog) {
    const auto apply = [&dialog](const QString& filter) {
        if (!Patterns(filter).contains(QStringLiteral("*.*")))
            return;
        // The dialog has just set its model's filters from the caption.
        if (auto* model = dialog.findChild<QFileSystemModel*>())
            model->setNameFilters({QStringLiteral("*")});
    };
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, apply);
    apply(dialog.selectedNameFilter());
}
