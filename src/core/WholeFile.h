#pragma once

#include <QString>
#include <QStringList>

namespace orba {

// A file that is read whole once and then written whole after every change. When it exists but
// cannot be read (locked, no permission, a folder in its place), writing it would put the little
// that was read in place of all it holds; such a file is left alone for the rest of the run, and
// its list only lives in memory.
class WholeFile {
public:
    explicit WholeFile(QString path = QString());

    const QString& path() const { return m_path; }

    // The file's lines; none when there is no file. Throws "Datei %s kann nicht geöffnet werden"
    // when it exists but cannot be read, and from then on keeps it from being written.
    QStringList readLines();
    // Replaces the file with the lines. A file kept from being written stays as it is: the first
    // attempt throws a message that says so and why, the later ones pass without a word.
    void writeLines(const QStringList& lines);

private:
    QString m_path;
    bool m_unreadable = false;
    bool m_toldUnsaved = false;
};

} // namespace orba
