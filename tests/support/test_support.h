#pragma once

#include "common/messages.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <string>
#include <vector>

// Resets the program-wide state between tests: messages on, the recording
// presenter installed and emptied, the program folder back to the executable's.
class TestEnvironment : public ::testing::Environment {
public:
    void SetUp() override;
};

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

// A test fixture base that gives each test fresh program-wide state
// (ResetProgramState) with messages going to the test presenter.
class CubestacksTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
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
std::string Hex(const QByteArray& bytes); // "4D 64 46 1A"
