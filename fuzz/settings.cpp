// The settings file. The input's first line names a section, a key and a value, separated by
// TABs (UTF-8, as typed into the settings dialog); the rest is the file. Writing the value must
// change no other key, must read back as written (on one line, in cp1252, without surrounding
// blanks), and a reader that opens the file afresh must see exactly what the writer sees. A file
// that cannot be read whole is never written over.
#include "core/Cp1252.h"
#include "core/OrbaError.h"
#include "FuzzSupport.h"
#include "settings/SettingsFile.h"
#include "settings/SystemSettings.h"

#include <QFile>
#include <QSet>

using namespace orba;

namespace {

const QString kFile = QStringLiteral("orbaw.ini");

struct Name {
    QString section;
    QString key;
};

// Every section and key name the text could hold: the reader decides which are real.
QList<Name> candidateNames(const QStringList& lines, const Name& written) {
    QStringList sections{written.section};
    QStringList keys{written.key};
    for (const QString& line : lines) {
        const QString text = line.trimmed();
        if (text.startsWith(u'[') && text.lastIndexOf(u']') > 0)
            sections.append(text.mid(1, text.lastIndexOf(u']') - 1).trimmed());
        else if (line.contains(u'='))
            keys.append(line.left(line.indexOf(u'=')).trimmed());
    }
    sections.removeDuplicates();
    keys.removeDuplicates();
    QList<Name> names;
    for (const QString& section : sections.mid(0, 24))
        for (const QString& key : keys.mid(0, 48))
            names.append({section, key});
    return names;
}

bool sameName(const QString& a, const QString& b) {
    return a.trimmed().compare(b.trimmed(), Qt::CaseInsensitive) == 0;
}

// A name as the program's own keys are: no line break or other control character, nothing
// that makes a line a section or a comment or ends a key, no blanks around it.
bool isPlainName(const QString& name) {
    if (name.isEmpty() || name != name.trimmed())
        return false;
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || c == u'=' || c == u'[' || c == u']' || c == u';' ||
            !cp1252::canEncode(c.unicode()))
            return false;
    }
    return true;
}

// What the value reads back as: one line, through cp1252, without NUL or surrounding blanks.
QString storedForm(const QString& value) {
    QString oneLine = value;
    oneLine.replace(QStringLiteral("\r\n"), QStringLiteral(" "))
        .replace(u'\r', u' ')
        .replace(u'\n', u' ');
    QString stored = cp1252::decode(cp1252::encode(oneLine));
    stored.remove(QChar(u'\0'));
    qsizetype begin = 0;
    qsizetype end = stored.size();
    while (begin < end && (stored[begin] == u' ' || stored[begin] == u'\t'))
        ++begin;
    while (end > begin && (stored[end - 1] == u' ' || stored[end - 1] == u'\t'))
        --end;
    return stored.mid(begin, end - begin).left(1023);
}

void checkSections(const SettingsFile& settings, const QList<Name>& names) {
    QSet<QString> seen;
    for (const Name& name : names) {
        if (seen.contains(name.section.toLower()))
            continue;
        seen.insert(name.section.toLower());
        QSet<QString> keys;
        for (const auto& [key, value] : settings.readSection(name.section)) {
            if (keys.contains(key.toCaseFolded()))
                continue;
            keys.insert(key.toCaseFolded());
            FUZZ_EXPECT(settings.readString(name.section, key, QStringLiteral("\x01")) == value,
                        name.section + QLatin1Char('/') + key);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto [firstLine, file] = fuzz::splitFirstLine(fuzz::bytes(data, size));
    const QStringList order = QString::fromUtf8(firstLine).split(u'\t');
    Name written{QStringLiteral("mail"), QStringLiteral("return Path")};
    if (order.size() >= 2 && isPlainName(order[0]) && isPlainName(order[1]))
        written = {order[0], order[1]};
    const QString value = order.size() >= 3 ? order.mid(2).join(u'\t') : QString();

    fuzz::writeFile(kFile, file);
    SettingsFile settings(kFile);
    if (settings.readError()) {
        // A file that cannot be taken in whole is never written over.
        bool refused = false;
        try {
            settings.writeString(written.section, written.key, value);
        } catch (const OrbaError&) {
            refused = true;
        }
        QFile after(kFile);
        FUZZ_EXPECT(refused && after.open(QIODevice::ReadOnly) && after.readAll() == file);
        return 0;
    }
    const QList<Name> names = candidateNames(cp1252::decode(file).split(u'\n'), written);
    const QString absent = QStringLiteral("\x01");
    QStringList before;
    for (const Name& name : names)
        before.append(settings.readString(name.section, name.key, absent));
    checkSections(settings, names);

    settings.writeString(written.section, written.key, value);
    // A cp1252 text that begins as a byte-order mark does reads back as Unicode.
    QFile rewritten(kFile);
    if (rewritten.open(QIODevice::ReadOnly) && fuzz::startsWithByteOrderMark(rewritten.readAll()))
        return 0;
    FUZZ_EXPECT(settings.readString(written.section, written.key, absent) == storedForm(value),
                settings.readString(written.section, written.key, absent));
    const SettingsFile fresh(kFile);
    for (qsizetype i = 0; i < names.size(); ++i) {
        const Name& name = names[i];
        const QString now = settings.readString(name.section, name.key, absent);
        FUZZ_EXPECT(fresh.readString(name.section, name.key, absent) == now,
                    name.section + QLatin1Char('/') + name.key);
        FUZZ_EXPECT(fresh.readInteger(name.section, name.key, -7) ==
                    settings.readInteger(name.section, name.key, -7));
        if (!sameName(name.section, written.section) || !sameName(name.key, written.key))
            FUZZ_EXPECT(now == before[i], name.section + QLatin1Char('/') + name.key);
    }
    checkSections(fresh, names);

    // The file as the system-wide settings beneath a user of an installed ORBA who set nothing:
    // every key reads as from the file itself, and the sections agree with the keys.
    fuzz::writeFile(QStringLiteral("datenstand.dat"), QByteArray());
    const SettingsFile layered = openSettings(QStringLiteral("leer.ini"), QString(), kFile);
    for (const Name& name : names)
        FUZZ_EXPECT(layered.readString(name.section, name.key, absent) ==
                        fresh.readString(name.section, name.key, absent),
                    name.section + QLatin1Char('/') + name.key);
    checkSections(layered, names);
    return 0;
}
