#pragma once

#include <functional>
#include <optional>
#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

namespace orba {

// A file that is read whole once and then written whole after every change. When it exists but
// cannot be read (locked, no permission, a folder in its place, damaged, or text that cp1252
// cannot hold), writing it would put the little that was read in place of all it holds; such a
// file is left alone for the rest of the run, and its list only lives in memory.
//
// Another copy of the program (a second window, a colleague on a shared folder) may write the
// same file meanwhile. Before each write the file is compared with what this copy last read or
// wrote (size, time and a fingerprint of its content); when it changed, the caller's merge puts
// this copy's changes into what is there now, instead of writing over the other copy's work.
class WholeFile {
public:
    // Whether a file without lines is written empty or removed (a note emptied is no note).
    enum class WhenEmpty { Write, Remove };
    // The lines to write, from the lines this copy last read or wrote (`base`), the lines it wants
    // to write now (`mine`) and the lines the file holds now (`theirs`; none when it has gone).
    using Merge = std::function<QStringList(const QStringList& base, const QStringList& mine,
                                            const std::optional<QStringList>& theirs)>;

    explicit WholeFile(QString path = QString(), WhenEmpty whenEmpty = WhenEmpty::Write);

    const QString& path() const { return m_path; }

    // The file's lines; none when there is no file. Throws the reader's message when it exists
    // but cannot be read, and from then on keeps it from being written.
    QStringList readLines();
    // Replaces the file with the lines, or with their merge when the file changed since it was
    // last read or written; returns what the file holds afterwards (the lines the caller should
    // show). Throws "Datei %s kann nicht erstellt werden" when the file cannot be written (the old
    // one stays as it was), or the reader's message when it changed into something that cannot be
    // read. A file kept from being written stays as it is: the first attempt throws a message that
    // says so and why, the later ones pass without a word.
    QStringList writeLines(const QStringList& lines, const Merge& merge = {});
    // Whether the file could not be read at start and is kept from being written in this run.
    bool unreadable() const { return m_unreadable; }

private:
    struct Stamp {
        bool exists = false;
        qint64 size = 0;
        QDateTime modified;
        QByteArray fingerprint;
        bool operator==(const Stamp&) const = default;
    };
    struct OnDisk {
        Stamp stamp;
        QByteArray bytes;
    };
    OnDisk look() const;
    void remember(const Stamp& stamp, const QStringList& lines);

    QString m_path;
    WhenEmpty m_whenEmpty;
    Stamp m_stamp;
    QStringList m_base;
    bool m_unreadable = false;
    bool m_toldUnsaved = false;
};

} // namespace orba
