#pragma once

#include "common/messages.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <string>
#include <vector>

void ResetForTest();

class RecordingPresenter : public MessagePresenter {
public:
    struct Shown {
        QString caption;
        QString text;
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
    ~TempProgramFolder();
    QString path() const; // with a trailing '/'
    QString file(const QString& relative) const;
    void write(const QString& relative, const QByteArray& bytes) const;

private:
    QTemporaryDir m_dir;
};

QByteArray ReadAll(const QString& fileName);

std::vector<QStringList> DataCases(const QString& folder);
QString DataFile(const QString& folder, const QString& name);
std::string Hex(const QByteArray& bytes); // "4D 64 46 1A"
