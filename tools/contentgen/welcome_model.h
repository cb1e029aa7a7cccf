#pragma once

#include <QImage>
#include <QString>

namespace art {

// Builds the welcome model from the block sets already written into the
// program folder's System folder, saves it as Models/Welcome.cst with the
// program's own model writer and returns its picture (1024 x 768). Raises
// IoError when a set cannot be read or the model cannot be written, and
// std::logic_error when the scene names a block that no set holds.
QImage BuildWelcomeModel(const QString& programFolder);

} // namespace art
