#include "catalogue/AdvancedCriteria.h"

#include "catalogue/Record.h"

namespace orba {
namespace {

constexpr bool Words = true;
constexpr bool Whole = false;

QString ticked(bool on) {
    return on ? QStringLiteral("1") : QString();
}

QString bound(int players) {
    return players >= 0 ? QString::number(players) : QString();
}

} // namespace

CriteriaList advancedCriteria(const AdvancedSearchInput& input) {
    CriteriaList list;
    addCriterion(list, input.signature, Whole, u'1');
    addCriterion(list, input.title, Words, u'2');
    addCriterion(list, input.suitability, Whole, u'3');
    addCriterion(list, input.keywords, Words, u'4');
    addCriterion(list, input.duration, Whole, u'5');
    addCriterion(list, input.description, Words, u'6');
    addCriterion(list, input.freeText, Words, u'0');
    if (input.ageGroup >= 1 && input.ageGroup <= record::ageGroups().size())
        addCriterion(list, QString::number(input.ageGroup), Whole, u'8');
    addCriterion(list, input.stage, Whole, u'9');
    addCriterion(list, input.author, Words, u'7');
    addCriterion(list, ticked(input.moreThan15), Whole, u'b');
    if (input.playersFrom >= 0 || input.playersTo >= 0)
        addCriterion(list, bound(input.playersFrom) + u'-' + bound(input.playersTo), Whole, u'd');
    addCriterion(list, ticked(input.newAcquisition), Whole, u'c');
    if (input.mediaType >= 1 && input.mediaType < record::mediaTypes().size())
        addCriterion(list, record::mediaTypes().at(input.mediaType), Whole, u'a');
    return list;
}

QString advancedSummary(const AdvancedSearchInput& input) {
    QStringList parts;
    const auto add = [&parts](const char* label, const QString& value) {
        if (!value.isEmpty())
            parts.append(QString::fromUtf8(label) + u' ' + value);
    };
    add("Nr.", input.signature);
    add("Titel", input.title);
    add("Eignung", input.suitability);
    add("Schlagwörter", input.keywords);
    add("Spieldauer", input.duration);
    add("Beschreibung", input.description);
    add("Freitext", input.freeText);
    if (input.ageGroup >= 1 && input.ageGroup <= record::ageGroups().size())
        add("Alter", record::ageGroups().at(input.ageGroup - 1));
    add("Bühne", input.stage);
    add("Autor", input.author);
    if (input.playersFrom >= 0 || input.playersTo >= 0) {
        QString players = QStringLiteral("Spieler");
        if (input.playersFrom >= 0)
            players += QStringLiteral(" von %1").arg(input.playersFrom);
        if (input.playersTo >= 0)
            players += QStringLiteral(" bis %1").arg(input.playersTo);
        parts.append(players);
    }
    if (input.moreThan15)
        parts.append(QStringLiteral("mehr als 15 Spieler"));
    if (input.newAcquisition)
        parts.append(QStringLiteral("Neuanschaffung"));
    const QString search = QStringLiteral("erw. Suche");
    return parts.isEmpty() ? search
                           : search + QStringLiteral(": ") + parts.join(QStringLiteral("; "));
}

} // namespace orba
