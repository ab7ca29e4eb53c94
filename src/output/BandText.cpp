#include "output/BandText.h"

#include "output/ReportBand.h"
#include "output/ValueList.h"

#include <algorithm>
#include <QRegularExpression>

namespace orba {
namespace {

constexpr qsizetype positionWidth = 3;
const QString separator = QStringLiteral("  ");

QString padded(int number) {
    return QString::number(number).rightJustified(positionWidth, u'0');
}

bool lessIgnoringCase(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) < 0;
}

// Sorted without regard to letter case; of keys equal that way the first one made stays.
QStringList sortedKeys(const ReportBand& band) {
    QStringList keys;
    keys.reserve(static_cast<qsizetype>(band.elements().size()));
    for (const auto& element : band.elements())
        keys.append(padded(element->top) + padded(element->left) + element->text());
    std::stable_sort(keys.begin(), keys.end(), lessIgnoringCase);
    const auto end = std::unique(keys.begin(), keys.end(), [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) == 0;
    });
    keys.erase(end, keys.end());
    return keys;
}

// A line's texts joined by two blanks; empty texts at either end leave no blanks behind.
void appendLine(QStringList& lines, const QStringList& texts) {
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    qsizetype first = 0;
    qsizetype end = texts.size();
    while (first < end && texts[first].isEmpty())
        ++first;
    while (end > first && texts[end - 1].isEmpty())
        --end;
    lines += texts.mid(first, end - first).join(separator).split(lineBreak);
}

} // namespace

void RenderBandAsText(const ReportBand& band, QStringList& lines, const ValueList* values) {
    QStringList line;
    QString previous;
    for (const QString& key : sortedKeys(band)) {
        const bool newLine = !previous.isEmpty() && QStringView(previous).left(positionWidth) !=
                                                        QStringView(key).left(positionWidth);
        previous = key;
        QString text = key.mid(2 * positionWidth);
        // A placeholder without a value stays empty, as on paper; its name is no text for the
        // reader of the mail.
        if (values && text.startsWith(QLatin1Char('^')))
            text = values->value(text);
        if (newLine) {
            appendLine(lines, line);
            line.clear();
        }
        line.append(text);
    }
    appendLine(lines, line);
}

} // namespace orba
