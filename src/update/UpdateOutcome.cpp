#include "update/UpdateOutcome.h"

#include "update/UpdateManifest.h"

namespace orba {
namespace {

QString media(qsizetype count, const QString& one, const QString& many) {
    return count == 1 ? QStringLiteral("1 Medium %1").arg(one)
                      : QStringLiteral("%1 Medien %2").arg(count).arg(many);
}

} // namespace

QString UpdateOutcome::message() const {
    QString text =
        QStringLiteral("Die Aktualisierung mit dem Stand %1 ist übernommen.").arg(standText(stand));
    if (!catalogueReplaced)
        return text + QStringLiteral("\nDer Katalog selbst ist unverändert.");
    text +=
        QLatin1Char('\n') +
        media(change.added, QStringLiteral("ist neu"), QStringLiteral("sind neu")) +
        QStringLiteral(", ") +
        media(change.removed, QStringLiteral("ist entfallen."), QStringLiteral("sind entfallen."));
    text += QStringLiteral("\nDie Trefferliste ist geleert; bitte suchen Sie neu.");
    if (privateListGone > 0)
        text += QLatin1Char('\n') +
                media(privateListGone,
                      QStringLiteral("Ihrer privaten Liste ist nicht mehr im Katalog. Es bleibt "
                                     "durchgestrichen in der Liste, kann aber nicht bestellt "
                                     "werden."),
                      QStringLiteral("Ihrer privaten Liste sind nicht mehr im Katalog. Sie "
                                     "bleiben durchgestrichen in der Liste, können aber nicht "
                                     "bestellt werden."));
    if (!basketRemoved.isEmpty())
        text += QStringLiteral("\nNicht mehr im Katalog und darum aus dem Bestellkorb genommen: "
                               "%1.")
                    .arg(basketRemoved.join(QStringLiteral(", ")));
    return text;
}

QString UpdateOutcome::statusText() const {
    return QStringLiteral("%1 neu, %2 entfallen").arg(change.added).arg(change.removed);
}

} // namespace orba
