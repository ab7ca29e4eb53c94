#include "catalogue/AdvancedCriteria.h"

#include "catalogue/Record.h"

namespace orba {
namespace {

constexpr bool Words = true;
constexpr bool Whole = false;

QString ticked(bool on) {
    return on ? QStringLiteral("1") : QString();
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
    addCriterion(list, ticked(input.newAcquisition), Whole, u'c');
    if (input.mediaType >= 1 && input.mediaType < record::mediaTypes().size())
        addCriterion(list, record::mediaTypes().at(input.mediaType), Whole, u'a');
    return list;
}

} // namespace orba
