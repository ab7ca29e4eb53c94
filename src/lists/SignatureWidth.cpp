#include "lists/SignatureWidth.h"

#include "catalogue/Catalogue.h"
#include "catalogue/Record.h"
#include "core/Cp1252.h"

#include <cstring>
#include <QSet>

namespace orba {

QStringList longestSignatures(const Catalogue& catalogue, qsizetype limit) {
    qsizetype longest = 0;
    QSet<QByteArrayView> longestOnes;
    for (qsizetype i = 0; i < catalogue.count(); ++i) {
        const char* line = catalogue.data() + catalogue.begin(i);
        const qsizetype length = catalogue.end(i) - catalogue.begin(i);
        const void* bar = std::memchr(line, '|', size_t(length));
        // A line without "|" shows no signature in a list.
        if (!bar)
            continue;
        const qsizetype size = static_cast<const char*>(bar) - line;
        if (size < longest)
            continue;
        if (size > longest) {
            longest = size;
            longestOnes.clear();
        }
        if (longestOnes.size() < limit)
            longestOnes.insert(QByteArrayView(line, size));
    }
    QStringList shown;
    for (QByteArrayView signature : std::as_const(longestOnes))
        shown.append(record::displaySignature(cp1252::decode(signature.data(), signature.size())));
    return shown;
}

} // namespace orba
