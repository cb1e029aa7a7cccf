#pragma once

class QFileDialog;

// The file dialogs show "All files (*.*)" and "Any file (*.*)" as the program
// names them; on Windows "*.*" matches every file, while Qt's dialog takes it
// for names with a dot. This makes such a filter match every file in the
// dialog, whenever the user chooses it, while its caption stays as it is.
void MatchEveryFileWithStarDotStar(QFileDialog& dialog);
