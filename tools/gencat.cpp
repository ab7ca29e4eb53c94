// gencat: writes a catalogue file of realistic MediumRecord lines for demos, tests and benchmarks.
//
//   gencat <records> <output-file> [seed] [--stat <file>]
//
// The same arguments always give the same bytes: the generator has its own random source and
// reads neither the clock nor the environment.

#include "core/Cp1252.h"
#include "core/TextFile.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <QString>
#include <QStringList>
#include <string>
#include <string_view>
#include <vector>

namespace {

using Words = std::vector<std::string>;

// The word lists are written in UTF-8 here and turned into the file's cp1252 once at start.
std::string cp(const char* utf8) {
    return orba::cp1252::encode(QString::fromUtf8(utf8)).toStdString();
}

Words words(std::initializer_list<const char*> list) {
    Words out;
    out.reserve(list.size());
    for (const char* w : list)
        out.push_back(cp(w));
    return out;
}

// splitmix64: tiny, fast and the same on every platform.
class Random {
public:
    explicit Random(std::uint64_t seed) : m_state(seed) {}
    std::uint64_t next() {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint64_t>(n)); }
    int between(int low, int high) { return low + below(high - low + 1); }
    bool percent(int p) { return below(100) < p; }
    const std::string& pick(const Words& list) {
        return list[below(static_cast<int>(list.size()))];
    }
    // Picks an entry not yet marked in `used` and marks it; every list stays far below 64
    // entries and is longer than the number of picks from it.
    const std::string& pickOnce(const Words& list, std::uint64_t& used) {
        int index = 0;
        do
            index = below(static_cast<int>(list.size()));
        while (used & (std::uint64_t(1) << index));
        used |= std::uint64_t(1) << index;
        return list[index];
    }

private:
    std::uint64_t m_state;
};

enum MediaKind { Play, Workbook, AvMedium, KindCount };

// A noun with its grammatical gender, so that articles and adjective endings come out right.
struct Noun {
    char gender; // 'm', 'f' or 'n'
    std::string word;
};

std::vector<Noun> nouns(std::initializer_list<std::pair<char, const char*>> list) {
    std::vector<Noun> out;
    for (const auto& [gender, word] : list)
        out.push_back({gender, cp(word)});
    return out;
}

const char* nominative(char gender, bool capital) {
    if (gender == 'm')
        return capital ? "Der" : "der";
    return gender == 'f' ? (capital ? "Die" : "die") : (capital ? "Das" : "das");
}

const char* accusative(char gender) {
    return gender == 'm' ? "den" : nominative(gender, false);
}

struct Vocabulary {
    std::vector<Noun> characters = nouns({
        {'f', "Hexe"},          {'f', "Prinzessin"},
        {'n', "Gespenst"},      {'m', "Zauberer"},
        {'m', "König"},         {'f', "Königin"},
        {'m', "Räuber"},        {'f', "Fee"},
        {'m', "Kater"},         {'m', "Wolf"},
        {'m', "Schneemann"},    {'m', "Roboter"},
        {'m', "Zwerg"},         {'m', "Detektiv"},
        {'m', "Clown"},         {'m', "Esel"},
        {'m', "Frosch"},        {'n', "Krokodil"},
        {'n', "Nashorn"},       {'n', "Einhorn"},
        {'n', "Schaf"},         {'n', "Eichhörnchen"},
        {'f', "Lehrerin"},      {'m', "Hausmeister"},
        {'f', "Großmutter"},    {'f', "Nachtigall"},
        {'f', "Maus"},          {'m', "Ritter"},
        {'m', "Bürgermeister"}, {'f', "Schneekönigin"},
        {'m', "Kobold"},        {'m', "Wichtel"},
        {'n', "Burgfräulein"},  {'m', "Straßenmusikant"},
        {'f', "Wahrsagerin"},   {'m', "Erfinder"},
    });
    Words adjectives =
        words({"klein",       "verzaubert", "vergesslich",   "mutig",     "frech",     "traurig",
               "verliebt",    "lustig",     "geheimnisvoll", "schlau",    "müde",      "verrückt",
               "unsichtbar",  "letzt",      "fliegend",      "sprechend", "zerstreut", "schüchtern",
               "eigensinnig", "größt",      "faul",          "gefräßig",  "grün"});
    Words troubles = words({"Ärger", "Aufruhr", "Chaos", "Krach", "Alarm", "Wirbel", "Stromausfall",
                            "Gespensterstunde", "Großputz", "Hochbetrieb", "Streik", "Tumult"});
    Words places = words(
        {"Märchenwald", "Klassenzimmer", "Hühnerstall",  "Rathaus",      "Schulhaus", "Königreich",
         "Zoo",         "Museum",        "Lehrerzimmer", "Treppenhaus",  "Hotel",     "Supermarkt",
         "Weltall",     "Kaufhaus",      "Schwimmbad",   "Zirkus",       "Schloss",   "Pfarrhaus",
         "Sägewerk",    "Krankenhaus",   "Spukhaus",     "Lebkuchenhaus"});
    Words stolen = words({"den Mond", "die Krone", "das Zauberbuch", "den Schlüssel", "die Zeit",
                          "das Lachen", "den Geburtstagskuchen", "die Farben", "das Weihnachtsfest",
                          "die Sonne", "den Schulgong", "die Sterne", "das Osterei"});
    Words names = words({"Max", "Lisa", "Pippa", "Fritz", "Oma Else", "Opa Gustav", "Kasimir",
                         "Ottilie", "Lotta", "Emil", "Paul", "Jakob", "Mia", "Herr Meier",
                         "Tante Frieda", "Familie Sonnenschein", "Jörg", "Käthe", "Moritz"});
    Words secrets = words({"große Reise", "Geheimnis", "Traum", "Geburtstag", "letzter Schultag",
                           "wundersame Verwandlung", "Flucht", "erster Auftritt", "Heimkehr"});
    Words gifts = words({"Ein Fest", "Ein Lied", "Ein Zuhause", "Ein Geschenk", "Ein Platz",
                         "Ein Herz", "Ein Zaubertrank"});
    Words journeys =
        words({"ins Zauberland", "ins Ungewisse", "ins Abenteuerland", "ins Land der Träume",
               "ans Ende der Welt", "zu den Sternen", "in die Vergangenheit", "durch das Jahr"});
    Words subtitles =
        words({" – Komödie in drei Akten", " – Ein Märchenspiel", " – Krimi für Kinder",
               " – Szenen aus dem Schulalltag", " – Schwank in einem Akt", " – Musical für Kinder",
               " – Ein Stück für Jugendliche", " – Weihnachtsspiel", " – Spiel mit Musik"});

    Words themes = words({"Improvisation",     "Maskenbau",        "Schminken",
                          "Pantomime",         "Stimmbildung",     "Schattenspiel",
                          "Puppenbau",         "Bühnenbild",       "Sprechtechnik",
                          "Körpersprache",     "Rollenspiel",      "Figurentheater",
                          "Clownerie",         "Bewegungstheater", "Szenisches Schreiben",
                          "Lichttechnik",      "Kostümbildnerei",  "Tanztheater",
                          "Schwarzes Theater", "Straßentheater",   "Stegreifspiel",
                          "Bühnenfechten",     "Märchenspiel",     "Spielleitung"});
    Words groupsFor = words({"Kinder", "Jugendliche", "die Grundschule", "Jugendgruppen",
                             "Kindergarten und Hort", "die Sekundarstufe I", "Seniorengruppen",
                             "Spielleiterinnen und Spielleiter", "die Oberstufe"});
    Words groupsWith = words({"Kindern", "Jugendlichen", "Schulklassen", "Senioren",
                              "Vorschulkindern", "Laiengruppen", "Förderschülern"});
    Words workbookTitles =
        words({"Spiele für %G", "Theater spielen mit %W", "Praxisbuch %T",
               "%T – Grundlagen und Übungen", "Werkstatt %T", "%T im Unterricht", "Handbuch %T",
               "Von der Idee zur Aufführung: %T", "Übungen zum Thema %T für %G"});
    Words filmTitles = words({"%T – eine Einführung (Video)", "Mitschnitt: %P",
                              "Schultheatertage %C %Y", "%T in der Praxis (DVD)",
                              "Werkstattbericht: %T", "Theater macht Schule: %T (Video)"});
    Words audioTitles = words({"Hörspiel: %P", "Bühnenmusik für %G (CD)",
                               "Geräusche und Klänge für die Bühne (CD)", "Lieder aus: %P (CD)"});
    Words cities = words({"Marburg", "Augsburg", "Münster", "Kiel", "Würzburg", "Lüneburg",
                          "Göttingen", "Gießen", "Bayreuth", "Görlitz", "Fürth", "Tübingen"});

    Words playDurations = words({"ca. %N min.", "%N Minuten", "bis %N min.", "ca. 1 Std.",
                                 "ca. 2 Stunden", "abendfüllend", "ca. 1,5 Std.", "%N min."});
    Words filmDurations = words({"%N min.", "ca. %N min.", "%N Minuten", "Laufzeit %N min."});
    Words audioDurations = words({"%N min.", "ca. %N min.", "Gesamtspielzeit %N min."});
    std::vector<int> minutes = {10, 15, 20, 25, 30, 40, 45, 50, 60, 75, 90};
    std::vector<int> exercises = {30, 40, 50, 60, 80, 100, 120, 150, 200};

    Words suitability =
        words({"Kinder", "Jugendliche / Erwachsene ohne Erfahrung",
               "Jugendliche / Erwachsene mit Erfahrung", "Vereinsgruppen / Spielgemeinschaften",
               "gymnasiale Oberstufe / Studentenbühne", "Senioren"});
    Words publishers = words({
        "Theaterverlag Brunnenhof, Postfach 11 20, 35037 Marburg",
        "Bühnenvertrieb Sonnleitner, Mühlgasse 7, 86150 Augsburg",
        "Kinderbühnen-Verlag Saalfeld, Am Stadtgraben 12, 07318 Saalfeld",
        "Verlag für Spiel und Theater, Lindenstraße 44, 48143 Münster",
        "Spielbuch-Verlag Hagedorn, Kastanienallee 3, 30159 Hannover",
        "Edition Rampenlicht, Schillerplatz 9, 70173 Stuttgart",
        "Medienstelle Schultheater, Goethestraße 21, 99423 Weimar",
        "Arbeitskreis Spiel und Theater e. V., Postfach 40 02, 01099 Dresden",
        "Bühnenverlag Nordlicht, Hafenstraße 18, 24103 Kiel",
        "Musik- und Theaterverlag Eichholz, Bachweg 2, 79098 Freiburg",
        "Verlag Spielkiste, Obere Straße 5, 97070 Würzburg",
        "Figurentheater-Verlag Gräfenberg, Marktplatz 1, 91322 Gräfenberg",
    });
    Words playKeywords = words({"Märchen",
                                "Komödie",
                                "Krimi",
                                "Weihnachten",
                                "Ostern",
                                "Fasching",
                                "Freundschaft",
                                "Mobbing",
                                "Umwelt",
                                "Zirkus",
                                "Tiere",
                                "Hexen",
                                "Gespenster",
                                "Ritter",
                                "Piraten",
                                "Zauberei",
                                "Familie",
                                "Schule",
                                "Liebe",
                                "Abenteuer",
                                "Musical",
                                "Singspiel",
                                "Gewaltprävention",
                                "Integration",
                                "Generationen",
                                "Mittelalter",
                                "Antike",
                                "Zeitgeschichte",
                                "Satire",
                                "Groteske",
                                "Parodie",
                                "Kabarett",
                                "Jahreszeiten",
                                "Sommerfest",
                                "Schulfeier",
                                "Abschlussfeier",
                                "Einschulung",
                                "Sucht",
                                "Medien",
                                "Berufswelt",
                                "Dorfleben",
                                "Mundart",
                                "Plattdeutsch",
                                "Tragödie",
                                "Klassiker",
                                "Bearbeitung"});
    Words formKeywords =
        words({"Puppenspiel",   "Schattentheater",     "Schwarzes Theater", "Pantomime",
               "Improvisation", "Maskenspiel",         "Clownerie",         "Tanztheater",
               "Sprechtheater", "Straßentheater",      "Szenische Lesung",  "Rollenspiel",
               "Stegreifspiel", "Bühnenbild",          "Kostüme",           "Maske und Schminke",
               "Licht und Ton", "Stationentheater",    "Theaterpädagogik",  "Spielleitung",
               "Warm-up",       "Stimme und Sprechen", "Körpertraining"});

    Words playOpeners =
        words({"Ein turbulentes Stück", "Ein heiteres Spiel", "Ein nachdenkliches Stück",
               "Ein spannender Krimi", "Ein poetisches Märchenspiel", "Ein fröhliches Singspiel",
               "Eine freche Komödie", "Eine bissige Satire"});
    Words playTopics =
        words({"Freundschaft und Mut", "das Anderssein", "den Streit zweier Nachbarn",
               "die Angst vor dem Neuen", "den Umgang mit Medien", "das Älterwerden",
               "die erste Liebe", "Verantwortung für die Umwelt", "Zivilcourage im Schulalltag",
               "einen Streich, der aus dem Ruder läuft", "die Suche nach dem verlorenen Glück",
               "Neid und Versöhnung"});
    Words playSentences = words(
        {"Mit vielen Liedern, die sich leicht einstudieren lassen.",
         "Die Rollen können beliebig erweitert oder gekürzt werden.",
         "Das Bühnenbild kann sehr einfach gehalten werden.",
         "Geeignet für Aufführungen zum Schulfest oder zur Weihnachtsfeier.",
         "Viele kleine Rollen ermöglichen es, die ganze Klasse zu beteiligen.",
         "Die Musik liegt als Notenheft bei.",
         "Kostüme und Requisiten sind ohne großen Aufwand herzustellen.",
         "Erprobt von der Theater-AG einer Hauptschule.", "Einige Rollen verlangen Spielerfahrung.",
         "Sprachlich anspruchsvoll, mit vielen Wortspielen.",
         "Die Szenen sind auch einzeln spielbar.", "Aufführungsrechte beim Verlag.",
         "Der Chor kann von einer Parallelklasse übernommen werden.",
         "Ein Erzähler führt durch die Handlung.",
         "Das Ende bleibt offen und lädt zum Gespräch ein."});
    Words workbookOpeners = words({"Das Buch bietet über %E Spiele und Übungen für %G.",
                                   "Eine praxisnahe Einführung in das Thema %T für %G.",
                                   "Grundlagen, Methoden und Stundenbilder zum Thema %T.",
                                   "Sammlung erprobter Anregungen zu %T."});
    Words workbookSentences = words(
        {"Mit zahlreichen Fotos und Skizzen.",
         "Jedes Kapitel enthält Hinweise für die Spielleitung.",
         "Die Übungen sind nach Schwierigkeit geordnet.", "Ein Anhang enthält Kopiervorlagen.",
         "Auch für fachfremde Lehrkräfte gut verständlich.",
         "Schritt für Schritt wird gezeigt, wie aus einer Idee eine Aufführung entsteht.",
         "Mit Materialliste und Bauanleitungen.", "Enthält zusätzlich drei kurze Spielvorlagen."});
    Words filmOpeners = words({"Aufzeichnung einer Aufführung der Theater-AG %S.",
                               "Der Film zeigt Ausschnitte aus Proben und Aufführung %S.",
                               "Dokumentation eines Projekts %S zum Thema %T."});
    Words filmSentences = words(
        {"Mit Begleitheft für den Unterricht.",
         "Interviews mit Spielleitern und Darstellern ergänzen den Film.",
         "Tonqualität teilweise eingeschränkt.", "Verleih nur an Schulen und Jugendgruppen.",
         "Mit Untertiteln für Hörgeschädigte.", "Gut geeignet zur Vorbereitung eigener Proben."});
    Words audioOpeners = words({"Hörspielfassung, eingespielt von der Theater-AG %S.",
                                "Sammlung von Musiken und Geräuschen für Aufführungen.",
                                "Lieder und Zwischenmusiken, aufgenommen mit Schülern %S."});
    Words audioSentences =
        words({"Mit Textheft.", "Alle Titel sind frei für Schulaufführungen.",
               "Tonqualität teilweise eingeschränkt.", "Verleih nur an Schulen und Jugendgruppen.",
               "Playback-Fassungen der Lieder sind enthalten."});
    Words schools =
        words({"des Gymnasiums am Stadtpark", "der Realschule Lindenberg",
               "der Grundschule Am Mühlbach", "der Gesamtschule Nord", "des Schiller-Gymnasiums",
               "der Hauptschule Süd", "der Förderschule Sonnenhügel", "des Jugendhauses Westend"});
    Words stages = words({"ohne Bühne", "anspruchsvolle Bühne mit Licht", "einfache Vorhangbühne",
                          "Freilicht- und Straßentheater"});
    Words firstNames =
        words({"Hannelore", "Wolfgang", "Ursula", "Jürgen", "Gisela",  "Klaus",   "Brigitte",
               "Dieter",    "Monika",   "Günter", "Renate", "Jörg",    "Sabine",  "Matthias",
               "Karin",     "Bernd",    "Ilse",   "Heinz",  "Doris",   "Rüdiger", "Jutta",
               "Uwe",       "Gerda",    "Björn",  "Käthe",  "Andreas", "Petra"});
    Words surnames = words({"Müller",       "Schmidt",    "Weiß",     "Groß",   "Köhler",
                            "Schäfer",      "Becker",     "Hoffmann", "Krüger", "Wagner",
                            "Fuchs",        "Lange",      "Strauß",   "Böhm",   "Vogel",
                            "Jäger",        "Meißner",    "Brückner", "Oßwald", "Hüttenrauch",
                            "Kleinschmidt", "Sommerfeld", "Wendland", "Rößler", "Dörfler"});
    Words adaptedFrom =
        words({"nach den Brüdern Grimm, bearb. von ", "nach Wilhelm Busch, bearb. von ",
               "nach H. C. Andersen, bearb. von ", "nach einer Idee von "});
    Words ratings = words({"sehr gut", "empfehlenswert", "gut", "brauchbar",
                           "eingeschränkt empfehlenswert", "befriedigend"});
    Words kindNames = words({"Theaterstücke", "Werkbücher", "AV-Medien"});
    std::string collection = cp("Werkbücher, Theaterstücke");
    std::string about = cp(" über ");
    std::string forWord = cp(" für ");
    std::string ownProduction = cp("Eigenproduktion der Medienstelle");
};

class RecordWriter {
public:
    RecordWriter(const Vocabulary& v, std::uint64_t seed, int digits)
        : v(v), random(seed), digits(digits) {
        for (int kind = 0; kind < KindCount; ++kind)
            nextNumber[kind] = random.between(1, 20);
    }

    // Appends one record line with its CR LF to `out`; returns its media kind.
    MediaKind write(std::string& out) {
        const int roll = random.below(100);
        const MediaKind kind = roll < 55 ? Play : roll < 85 ? Workbook : AvMedium;
        // Title and description of one record speak of the same theme and the same carrier.
        theme = &random.pick(v.themes);
        audio = kind == AvMedium && random.percent(35);
        const int suitable = random.below(static_cast<int>(v.suitability.size()));
        int female = 0;
        int male = 0;
        if (kind == Play) {
            const bool bigCast = random.percent(8);
            female = bigCast ? random.between(6, 15) : random.between(0, 8);
            male = bigCast ? random.between(6, 15) : random.between(female == 0 ? 1 : 0, 8);
        }

        signature(out, kind);
        sep(out);
        title(out, kind);
        sep(out);
        duration(out, kind);
        sep(out);
        out += v.suitability[suitable];
        if (random.percent(25)) {
            const int last = static_cast<int>(v.suitability.size()) - 1;
            (out += ", ") += v.suitability[suitable < last ? suitable + 1 : suitable - 1];
        }
        sep(out);
        if (kind == Play)
            number(out, female);
        sep(out);
        if (kind == Play)
            number(out, male);
        sep(out);
        out += kind == AvMedium && random.percent(40) ? v.ownProduction : random.pick(v.publishers);
        sep(out);
        keywords(out, kind);
        sep(out);
        description(out, kind);
        sep(out);
        if (kind == Play || (kind == Workbook && random.percent(30)))
            out += random.pick(v.stages);
        sep(out);
        out += kind == Workbook && random.percent(3) ? v.collection : v.kindNames[kind];
        sep(out);
        if (female + male > 15) {
            if (random.percent(50))
                out += '1';
            else
                number(out, female + male);
        } else {
            out += '0';
        }
        sep(out);
        location(out, kind);
        sep(out);
        author(out, kind);
        sep(out);
        ageFlags(out, suitable);
        sep(out);
        if (random.percent(90))
            out += random.pick(v.ratings);
        sep(out);
        if (random.percent(7))
            out += '1';
        else if (random.percent(60))
            out += '0';
        out += "\r\n";
        return kind;
    }

private:
    static void sep(std::string& out) { out += '|'; }

    static void number(std::string& out, long long value) {
        char buffer[24];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
        out.append(buffer, result.ptr);
    }

    // Each media kind has its own prefix and running number; gaps between numbers mimic media
    // that were withdrawn over the years.
    void signature(std::string& out, MediaKind kind) {
        static const char* const prefixes[KindCount] = {"TH", "WB", "AV"};
        out += prefixes[kind];
        char buffer[24];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, nextNumber[kind]);
        out.append(digits - (result.ptr - buffer), '0');
        out.append(buffer, result.ptr);
        nextNumber[kind] += random.between(1, 3);
    }

    // Expands a pattern: %T theme, %G group ("für"), %W group ("mit"), %P play title, %C city,
    // %Y year, %S school, %N a number of minutes, %E a number of exercises.
    void expand(std::string& out, std::string_view pattern) {
        for (std::size_t i = 0; i < pattern.size(); ++i) {
            if (pattern[i] != '%' || i + 1 == pattern.size()) {
                out += pattern[i];
                continue;
            }
            switch (pattern[++i]) {
            case 'T':
                out += *theme;
                break;
            case 'G':
                out += random.pick(v.groupsFor);
                break;
            case 'W':
                out += random.pick(v.groupsWith);
                break;
            case 'P':
                playTitle(out);
                break;
            case 'C':
                out += random.pick(v.cities);
                break;
            case 'Y':
                number(out, random.between(1985, 2025));
                break;
            case 'S':
                out += random.pick(v.schools);
                break;
            case 'N':
                number(out, v.minutes[random.below(static_cast<int>(v.minutes.size()))]);
                break;
            case 'E':
                number(out, v.exercises[random.below(static_cast<int>(v.exercises.size()))]);
                break;
            default:
                out += pattern[i];
            }
        }
    }

    void playTitle(std::string& out) {
        const Noun& who = v.characters[random.below(static_cast<int>(v.characters.size()))];
        switch (random.below(8)) {
        case 0:
        case 1:
            ((out += nominative(who.gender, true)) += ' ') += random.pick(v.adjectives);
            (out += "e ") += who.word;
            break;
        case 2:
            ((out += random.pick(v.names)) += " und ") += nominative(who.gender, false);
            (out += ' ') += who.word;
            break;
        case 3:
            ((out += random.pick(v.troubles)) += " im ") += random.pick(v.places);
            break;
        case 4:
            ((out += "Wer hat ") += random.pick(v.stolen)) += " gestohlen?";
            break;
        case 5: {
            const Noun& other = v.characters[random.below(static_cast<int>(v.characters.size()))];
            ((out += nominative(who.gender, true)) += ' ') += who.word;
            (((out += " und ") += nominative(other.gender, false)) += ' ') += other.word;
            break;
        }
        case 6: {
            const std::string& name = random.pick(v.names);
            const char last = name.back();
            out += name;
            out += last == 's' || last == 'x' || last == 'z' ? "' " : "s ";
            out += random.pick(v.secrets);
            break;
        }
        default:
            ((out += random.pick(v.gifts)) += v.forWord) += accusative(who.gender);
            (out += ' ') += who.word;
        }
    }

    void title(std::string& out, MediaKind kind) {
        if (kind == Workbook) {
            expand(out, random.pick(v.workbookTitles));
        } else if (kind == AvMedium) {
            expand(out, random.pick(audio ? v.audioTitles : v.filmTitles));
        } else if (random.percent(12)) {
            ((out += "Die Reise ") += random.pick(v.journeys));
        } else {
            playTitle(out);
            if (random.percent(30))
                out += random.pick(v.subtitles);
        }
    }

    void duration(std::string& out, MediaKind kind) {
        if (kind == Play)
            expand(out, random.pick(v.playDurations));
        else if (kind == AvMedium)
            expand(out, random.pick(audio ? v.audioDurations : v.filmDurations));
        else if (random.percent(15))
            out += "variabel";
    }

    void keywords(std::string& out, MediaKind kind) {
        const Words& main = kind == Workbook ? v.formKeywords : v.playKeywords;
        const Words& extra = kind == Workbook ? v.playKeywords : v.formKeywords;
        std::uint64_t usedMain = 0;
        std::uint64_t usedExtra = 0;
        const int count = random.between(2, 5);
        for (int i = 0; i < count; ++i) {
            if (i > 0)
                out += ", ";
            if (i == count - 1 && random.percent(40))
                out += random.pickOnce(extra, usedExtra);
            else
                out += random.pickOnce(main, usedMain);
        }
    }

    // One to four sentences; a paragraph break (0x03) sometimes stands where a blank would.
    void description(std::string& out, MediaKind kind) {
        if (kind == Play) {
            ((out += random.pick(v.playOpeners)) += v.about) += random.pick(v.playTopics);
            out += '.';
        } else if (kind == Workbook) {
            expand(out, random.pick(v.workbookOpeners));
        } else {
            expand(out, random.pick(audio ? v.audioOpeners : v.filmOpeners));
        }
        const Words& more = kind == Play       ? v.playSentences
                            : kind == Workbook ? v.workbookSentences
                            : audio            ? v.audioSentences
                                               : v.filmSentences;
        std::uint64_t used = 0;
        const int sentences = random.below(4);
        for (int i = 0; i < sentences; ++i) {
            out += random.percent(30) ? '\x03' : ' ';
            out += random.pickOnce(more, used);
        }
    }

    void location(std::string& out, MediaKind kind) {
        const int roll = random.below(10);
        if (kind == AvMedium || roll == 0) {
            out += "Mediothek, Schrank ";
            number(out, random.between(1, 6));
        } else if (roll < 7) {
            out += "Regal ";
            number(out, random.between(1, 24));
            out += ", Fach ";
            number(out, random.between(1, 40));
        } else if (roll < 9) {
            out += "Ausleihe Zentrale";
        } else {
            out += "Magazin";
        }
    }

    void person(std::string& out) {
        ((out += random.pick(v.firstNames)) += ' ') += random.pick(v.surnames);
    }

    void author(std::string& out, MediaKind kind) {
        if (kind == AvMedium && random.percent(30)) {
            out += "Arbeitskreis Spiel und Theater";
            return;
        }
        if (kind == Play && random.percent(12))
            out += random.pick(v.adaptedFrom);
        person(out);
        if (random.percent(10)) {
            out += " / ";
            person(out);
        }
    }

    // Derived from the target group so that the flags agree with it; a few old entries were
    // never given any.
    void ageFlags(std::string& out, int suitable) {
        if (random.percent(3))
            return;
        static const char* const bySuitability[6][3] = {
            {"1100", "1110", "0100"}, {"0011", "0111", "0010"}, {"0011", "0001", "0010"},
            {"0001", "0000", "0011"}, {"0001", "0001", "0001"}, {"0000", "0000", "0001"}};
        out += bySuitability[suitable][random.below(3)];
    }

    const Vocabulary& v;
    Random random;
    int digits;
    const std::string* theme = nullptr;
    bool audio = false;
    long long nextNumber[KindCount] = {};
};

int digitCount(long long value) {
    int count = 1;
    while (value >= 10) {
        value /= 10;
        ++count;
    }
    return count;
}

bool parseNumber(const char* text, unsigned long long* value) {
    const std::string_view view(text);
    const auto result = std::from_chars(view.data(), view.data() + view.size(), *value);
    return result.ec == std::errc() && result.ptr == view.data() + view.size();
}

// The statistics file that goes with the catalogue. Its date is fixed so that the output depends
// on the arguments alone.
bool writeStatistics(const char* fileName, const Vocabulary& vocabulary,
                     const long long (&counts)[KindCount], unsigned long long records) {
    QStringList stat = {QStringLiteral("01.12.2026")};
    for (int kind = 0; kind < KindCount; ++kind) {
        const std::string& name = vocabulary.kindNames[kind];
        stat.append(orba::cp1252::decode(name.data(), static_cast<qsizetype>(name.size())) + u'\t' +
                    QString::number(counts[kind]));
    }
    stat.append(QStringLiteral("Gesamt\t") + QString::number(records));
    try {
        orba::textfile::writeLines(QString::fromLocal8Bit(fileName), stat);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "gencat: %s\n", error.what());
        return false;
    }
    return true;
}

int usage() {
    std::fputs("usage: gencat <records> <output-file> [seed] [--stat <file>]\n", stderr);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<const char*> positional;
    const char* statFile = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::string_view(argv[i]) == "--stat" && i + 1 < argc)
            statFile = argv[++i];
        else
            positional.push_back(argv[i]);
    }
    unsigned long long records = 0;
    unsigned long long seed = 1;
    if (positional.size() < 2 || positional.size() > 3 || !parseNumber(positional[0], &records) ||
        (positional.size() == 3 && !parseNumber(positional[2], &seed)))
        return usage();

    std::FILE* file = std::fopen(positional[1], "wb");
    if (!file) {
        std::fprintf(stderr, "gencat: cannot create %s\n", positional[1]);
        return 1;
    }
    std::vector<char> buffer(1 << 20);
    std::setvbuf(file, buffer.data(), _IOFBF, buffer.size());

    const Vocabulary vocabulary;
    // Running numbers start at most at 20 and grow by at most 3 per record of their kind.
    RecordWriter writer(vocabulary, seed,
                        std::max(3, digitCount(20 + 3 * static_cast<long long>(records))));
    long long counts[KindCount] = {};
    std::string line;
    for (unsigned long long i = 0; i < records; ++i) {
        line.clear();
        ++counts[writer.write(line)];
        std::fwrite(line.data(), 1, line.size(), file);
    }
    const bool written = std::fflush(file) == 0 && !std::ferror(file);
    if (std::fclose(file) != 0 || !written) {
        std::fprintf(stderr, "gencat: cannot write %s\n", positional[1]);
        return 1;
    }

    if (statFile && !writeStatistics(statFile, vocabulary, counts, records))
        return 1;
    return 0;
}
