#include "settings/HelpTopics.h"

namespace orba {
namespace {

struct Entry {
    const char* id;
    const char* topic;
    int context;
};

// Every window's page. A window that shows several pages has one entry for each; the window's
// own entry serves where no page applies. The progress of a report belongs to printing.
constexpr Entry kEntries[] = {
    {"TForm1", "html/main.htm", 500},
    {"TForm1/TabSheet1", "html/treffer.htm", 501},
    {"TForm1/TabSheet2", "html/privat.htm", 502},
    {"TForm1/TabSheet3", "html/bestell.htm", 503},
    {"Tbenu", "html/benu.htm", 504},
    {"Tbenu_neu", "html/benuneu.htm", 505},
    {"Tresdat", "html/resdat.htm", 506},
    {"TPrevForm", "html/drucken.htm", 507},
    {"Tprogbar", "html/drucken.htm", 507},
    {"Temail", "html/email.htm", 508},
    {"Tpasswort", "html/passwort.htm", 509},
    {"Terwsuch", "html/erwsuch.htm", 510},
    {"Tfehler", "html/sendprot.htm", 511},
    {"Tnotiz", "html/notiz.htm", 512},
    {"Tstat", "html/statist.htm", 513},
    {"Tsachgeb", "html/sachgeb.htm", 514},
    {"Tinfo", "html/infos.htm", 515},
    {"Taktualisierung", "html/aktual.htm", 516},
    {"Tstart", "html/ueber.htm", 517},
    {"Tsetup", "html/setup.htm", 518},
    {"Tsetup/TabSheet1", "html/setup.htm", 518},
    {"Tsetup/TabSheet2", "html/setup.htm#email", 518},
    {"Tsetup/TabSheet3", "html/setup.htm#vorbelegungen", 518},
    {"TForm15", "html/adresse.htm", 519},
    {"Tschlag", "html/schlag.htm", 100},
};

} // namespace

std::optional<HelpTopic> helpTopicOf(const QString& id) {
    for (const Entry& entry : kEntries) {
        if (id == QLatin1String(entry.id))
            return HelpTopic{QLatin1String(entry.topic), entry.context};
    }
    return std::nullopt;
}

QString topicOfContext(int context) {
    for (const Entry& entry : kEntries) {
        if (entry.context == context)
            return QString::fromLatin1(entry.topic).section(QLatin1Char('#'), 0, 0);
    }
    return {};
}

} // namespace orba
