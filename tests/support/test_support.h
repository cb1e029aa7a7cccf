#pragma once

#include "common/messages.h"

#include <QImage>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <string>
#include <vector>

class RecordingPresenter : public MessagePresenter {
public:
    struct Shown {
        QString caption, text;
        int style;
    };
    int Present(const QString& caption, const QString& text, int style, int defaultAnswer) override;

    std::vector<Shown> shown;
    std::vector<int> answers;
    void Clear() {
        shown.clear();
        answers.clear();
    }
};

RecordingPresenter& TestPresenter();

class CubestacksTest : public ::testing::Test {
protected:
    RecordingPresenter& presenter() { return TestPresenter(); }
};

class TempProgramFolder {
public:
    TempProgramFolder();
    QString path() const { return m_dir.path() + '/'; }
    QString file(const QString& relative) const { return path() + relative; }
    void write(const QString& relative, const QByteArray& bytes) const;

private:
    QTemporaryDir m_dir;
};

inline QString S(const char* text) {
    return QString::fromUtf8(text);
}
QByteArray ReadAll(const QString& fileName);

std::vector<QStringList> DataCases(const QString& folder);
QString DataFile(const QString& folder, const QString& name);
std::string Hex(const QByteArray& bytes); // "4D 64 46 1A"
QImage Filled(int width, int height, QRgb color, QImage::Format format = QImage::Format_RGB32);
std::string Layout(const QString& name); // the bytes tests/data/layouts/NAME holds in hex
