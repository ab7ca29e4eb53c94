#include "catalogue/Record.h"

#include "core/Cp1252.h"

#include <cstring>

namespace orba::record {
namespace {

constexpr char Separator = '|';

// Position of the next separator at or after `from`, or the end of the line.
qsizetype nextSeparator(QByteArrayView line, qsizetype from) {
    if (from >= line.size())
        return line.size();
    const void* hit = std::memchr(line.data() + from, Separator, line.size() - from);
    return hit ? static_cast<const char*>(hit) - line.data() : line.size();
}

QString decode(QByteArrayView bytes) {
    return cp1252::decode(bytes.data(), bytes.size());
}

} // namespace

Fields split(QByteArrayView line) {
    Fields fields;
    qsizetype start = 0;
    for (int index = 0; index < FieldCount && start <= line.size(); ++index) {
        const qsizetype stop = nextSeparator(line, start);
        fields[index] = line.sliced(start, stop - start);
        start = stop + 1;
    }
    return fields;
}

QByteArrayView field(QByteArrayView line, int index) {
    if (index < 0 || index >= FieldCount)
        return {};
    qsizetype start = 0;
    for (int skipped = 0; skipped < index; ++skipped) {
        start = nextSeparator(line, start) + 1;
        if (start > line.size())
            return {};
    }
    return line.sliced(start, nextSeparator(line, start) - start);
}

QStringList fieldTexts(QByteArrayView line) {
    QStringList texts;
    texts.reserve(FieldCount);
    for (QByteArrayView bytes : split(line))
        texts.append(decode(bytes));
    return texts;
}

bool hitCells(QByteArrayView line, QString* signature, QString* title) {
    const qsizetype first = nextSeparator(line, 0);
    const bool hasTitle = first < line.size();
    QByteArrayView sigBytes;
    QByteArrayView titleBytes;
    if (hasTitle) {
        sigBytes = line.first(first);
        titleBytes = line.sliced(first + 1, nextSeparator(line, first + 1) - first - 1);
    }
    if (signature)
        *signature = decode(sigBytes);
    if (title)
        *title = decode(titleBytes);
    return hasTitle;
}

QString displaySignature(const QString& signature) {
    QString shown = signature;
    if (shown.size() < 2)
        shown.append(QLatin1Char(' '));
    else
        shown.insert(2, QLatin1Char(' '));
    return shown;
}

QString storedSignature(const QString& displayed) {
    QString stored = displayed;
    const qsizetype blank = stored.indexOf(QLatin1Char(' '));
    if (blank >= 0)
        stored.remove(blank, 1);
    return stored;
}

int fieldOfCode(char upperCode) {
    switch (upperCode) {
    case '0':
        return -1;
    case '1':
        return Sig;
    case '2':
        return Titel;
    case '3':
        return Eignung;
    case '4':
        return Schlag;
    case '5':
        return Dauer;
    case '6':
        return Beschreibung;
    case '7':
        return Autor;
    case '8':
        return Alter;
    case '9':
        return Buehne;
    case 'A':
        return Medart;
    case 'B':
        return Mehr15;
    case 'C':
        return Neuanschaffung;
    default:
        return -2;
    }
}

const QStringList& mediaTypes() {
    static const QStringList types = {QStringLiteral("Alle"), QStringLiteral("Theaterstücke"),
                                      QStringLiteral("Werkbücher"), QStringLiteral("AV-Medien")};
    return types;
}

const QStringList& ageGroups() {
    static const QStringList groups = {
        QStringLiteral("Kindergarten-2. Klasse"), QStringLiteral("3.-5. Klasse"),
        QStringLiteral("6.-9. Klasse"), QStringLiteral("10.-13. Klasse")};
    return groups;
}

} // namespace orba::record
