#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QStringList>

namespace orba {

// What the command line asks of a start.
struct StartOptions {
    // Work in the user's own data folder instead of the working directory.
    bool userData = false;
};

// The command line of a start (the program's name first). It is read before anything needs the
// window system, so that a console without a display gets its answer as well.
class CommandLine {
public:
    explicit CommandLine(const QStringList& arguments);

    // The program starts its windows; otherwise answer() is all there is to do.
    bool starts() const;
    StartOptions options() const { return StartOptions{m_parser.isSet(m_userData)}; }

    // Writes the help or the version to standard output, or why the command line is refused to
    // standard error, in German; returns the exit code. Qt's headings of the help are German
    // once the application's translator is installed.
    int answer() const;

private:
    bool asksForText() const;
    // Why the command line is refused; empty when it is not.
    QString refusal() const;

    QCommandLineParser m_parser;
    QCommandLineOption m_help;
    QCommandLineOption m_helpAll;
    QCommandLineOption m_version;
    QCommandLineOption m_userData;
    bool m_parsed = false;
};

// The note that a plain start in a folder without a catalogue gets when ORBA is installed: the
// installed data set is there for the start from the menu or with "--benutzerdaten". Empty when
// the working directory has a catalogue or none is installed.
QString installedDataHint(const QString& workingDir, const QString& installedDir);

} // namespace orba
