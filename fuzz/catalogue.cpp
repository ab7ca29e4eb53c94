// The catalogue file and the fields of its records: the catalogue's loader and the one line
// reader agree on every line, every way of taking a record apart gives the same fields, and the
// detail text and print values of every record can be made.
#include "catalogue/Catalogue.h"

#include "catalogue/Record.h"
#include "core/Cp1252.h"
#include "core/TextFile.h"
#include "display/DetailText.h"
#include "FuzzSupport.h"
#include "output/ReportValues.h"
#include "output/ValueList.h"

using namespace orba;

namespace {

QString decoded(QByteArrayView bytes) {
    return cp1252::decode(bytes.data(), bytes.size());
}

DisplayList everyFieldShown() {
    DisplayList list;
    for (int field = 0; field < displayFieldNames().size(); ++field)
        list.append({field, true});
    return list;
}

void checkRecord(QByteArrayView line) {
    const record::Fields fields = record::split(line);
    for (int index = 0; index < record::FieldCount; ++index) {
        FUZZ_EXPECT(record::field(line, index) == fields[index], QString::number(index));
        FUZZ_EXPECT(!fields[index].contains('|'));
    }
    FUZZ_EXPECT(record::fieldTexts(line).size() == record::FieldCount);

    QString signature;
    QString title;
    const bool shown = record::hitCells(line, &signature, &title);
    FUZZ_EXPECT(shown == line.contains('|'));
    if (shown) {
        FUZZ_EXPECT(signature == decoded(fields[record::Sig]));
        FUZZ_EXPECT(title == decoded(fields[record::Titel]));
    }
    const QString displayed = record::displaySignature(signature);
    FUZZ_EXPECT(displayed.size() == signature.size() + 1);
    if (!signature.contains(u' '))
        FUZZ_EXPECT(record::storedSignature(displayed) == signature);

    detailText(line, everyFieldShown());
    ValueList values;
    const QString date = QStringLiteral(" 01.02.2027 ");
    recordValues(values, line, &date);
    FUZZ_EXPECT(values.value(QStringLiteral("^Resdatum")) == QStringLiteral("01.02.2027"));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray text = fuzz::bytes(data, size);
    fuzz::writeFile(QStringLiteral("orb32.dat"), text);
    Catalogue catalogue;
    catalogue.load(QStringLiteral("orb32.dat"));
    const QStringList lines = textfile::splitLines(text);
    FUZZ_EXPECT(catalogue.count() == lines.size());
    for (qsizetype index = 0; index < catalogue.count(); ++index) {
        FUZZ_EXPECT(catalogue.lineText(index) == lines[index], QString::number(index));
        checkRecord(catalogue.line(index));
    }
    return 0;
}
