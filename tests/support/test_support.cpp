#include "support/test_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

RecordingPresenter& TestPresenter() {
    static RecordingPresenter presenter;
    return presenter;
}

int RecordingPresenter::Present(const QString& caption, const QString& text, int style, int defaultAnswer) {
    shown.push_back({caption, text, style});
    if (answers.empty())
        return defaultAnswer;
    const int answer = answers.front();
    answers.erase(answers.begin());
    return answer;
}

TempProgramFolder::TempProgramFolder() {
    for (const char* folder : {"System", "Models", "Images"})
        QDir(m_dir.path()).mkpath(folder);
}

void TempProgramFolder::write(const QString& relative, const QByteArray& bytes) const {
    const QString name = file(relative);
    QDir().mkpath(QFileInfo(name).path());
    QFile out(name);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size())
        ADD_FAILURE() << "cannot write " << name.toStdString();
}

QByteArray ReadAll(const QString& fileName) {
    QFile in(fileName);
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
}

std::string Hex(const QByteArray& bytes) {
    return bytes.toHex(' ').toUpper().toStdString();
}

QImage Filled(int width, int height, QRgb color, QImage::Format format) {
    QImage image(width, height, format);
    image.fill(color);
    return image;
}

std::string Layout(const QString& name) {
    return ReadAll(DataFile("layouts", name)).trimmed().toStdString();
}

QString DataFile(const QString& folder, const QString& name) {
    return QString::fromUtf8(CS_TEST_DATA "/") + folder + '/' + name;
}

std::vector<QStringList> DataCases(const QString& folder) {
    std::vector<QStringList> cases;
    for (const QString& line : QString::fromUtf8(ReadAll(DataFile(folder, "cases.tsv"))).split('\n'))
        if (!line.trimmed().isEmpty() && !line.startsWith('#'))
            cases.push_back(line.split('\t'));
    if (cases.empty())
        ADD_FAILURE() << "no cases in " << DataFile(folder, "cases.tsv").toStdString();
    return cases;
}
