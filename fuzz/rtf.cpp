// The RTF reader of the information window. Any bytes, damaged or no RTF at all, become a
// document; reading the same bytes again gives the same text.
#include "display/RtfReader.h"
#include "FuzzSupport.h"

#include <QTextDocument>

using namespace orba;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray rtf = fuzz::bytes(data, size);
    QTextDocument document;
    readRtf(rtf, &document);
    const QString text = document.toPlainText();
    readRtf(rtf, &document);
    FUZZ_EXPECT(document.toPlainText() == text);
    return 0;
}
