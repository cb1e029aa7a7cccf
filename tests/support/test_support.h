#pragma once

#include "common/messages.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <string>
#include <vector>

// Called by the test main before every test: the program-wide state as the
// program starts with it (ResetProgramState), messages going to the emptied
// test presenter.
void ResetForTest();

// Records every message shown and answers with the queued answers (then with
// the row's default answer).
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

// The presenter every test program installs at start.
RecordingPresenter& TestPresenter();

// The fixture base of the tests that look at the messages shown.
class CubestacksTest : public ::testing::Test {
protected:
    RecordingPresenter& presenter() { return TestPresenter(); }
};

// A temporary program folder with System/, Models/ and Images/ that the test fills.
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

// The cases of a folder under tests/data: the tab-separated fields of each line
// of its cases.tsv that is neither blank nor a # comment.
std::vector<QStringList> DataCases(const QString& folder);
QString DataFile(const QString& folder, const QString& name);
std::string Hex(const QByteArray& bytes); // "4D 64 46 1A"
