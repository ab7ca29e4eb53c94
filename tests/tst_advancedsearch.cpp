#include "catalogue/AdvancedCriteria.h"
#include "catalogue/Catalogue.h"
#include "catalogue/Record.h"
#include "catalogue/SearchEngine.h"
#include "catalogue/Terwsuch.h"
#include "catalogue/Tsachgeb.h"
#include "catalogue/Tschlag.h"
#include "core/Cp1252.h"
#include "TestMain.h"
#include "TestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QObject>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>

using namespace orba;

Q_DECLARE_METATYPE(orba::AdvancedSearchInput)

namespace {

using Hits = QList<qint32>;

QByteArray cp(const QString& text) {
    return cp1252::encode(text);
}

// A record line with the given field texts, all other fields empty.
QString recordWith(std::initializer_list<std::pair<int, QString>> texts) {
    QStringList fields(record::FieldCount);
    for (const auto& [index, text] : texts)
        fields[index] = text;
    return fields.join(QLatin1Char('|'));
}

Catalogue catalogueOf(const QStringList& lines) {
    const test::WorkingDir dir;
    dir.write(QStringLiteral("orb32.dat"), cp(lines.join(QStringLiteral("\r\n"))));
    Catalogue catalogue;
    catalogue.load(QStringLiteral("orb32.dat"));
    return catalogue;
}

Hits hitsOf(const Catalogue& catalogue, const CriteriaList& criteria) {
    const SearchEngine engine(catalogue, criteria);
    std::vector<qint32> hits;
    engine.scan(0, catalogue.count(), hits);
    return Hits(hits.begin(), hits.end());
}

const QStringList& searchCatalogue() {
    static const QStringList lines = {
        recordWith({{record::Sig, "AB100"},
                    {record::Titel, "Der kleine Prinz"},
                    {record::Eignung, "Kinder, Senioren"},
                    {record::Schlag, "Märchen, Schwarzes Theater"},
                    {record::Alter, "0010"},
                    {record::Anzspw, "3"},
                    {record::Anzspm, "2"},
                    {record::Neuanschaffung, "1"}}),
        recordWith({{record::Sig, "AB200"},
                    {record::Titel, "Prinz und Bettler"},
                    {record::Eignung, "Senioren"},
                    {record::Schlag, "Schwarzes Licht, Theaterpädagogik"},
                    {record::Alter, "001"},
                    {record::Anzspw, "6"},
                    {record::Mehr15, "1"}}),
        recordWith({{record::Sig, "XAB300"},
                    {record::Titel, "PRINZ, ein kleiner König"},
                    {record::Schlag, "Schattentheater"},
                    {record::Alter, "00100"},
                    {record::Anzspw, " 4"},
                    {record::Anzspm, "4 "},
                    {record::Medart, "Werkbücher, Theaterstücke"}}),
        recordWith({{record::Sig, "CD400"},
                    {record::Titel, "Kleine Hexe"},
                    {record::Eignung, "Jugendliche / Erwachsene mit Erfahrung"},
                    {record::Alter, "1110"},
                    {record::Anzspw, "1"},
                    {record::Anzspm, "ca. 3"},
                    {record::Medart, "Theaterstücke"},
                    {record::Neuanschaffung, "0"}}),
    };
    return lines;
}

template <typename T> T* child(QWidget* parent, const QString& name) {
    T* found = parent->findChild<T*>(name);
    if (!found)
        qFatal("no control %s", qPrintable(name));
    return found;
}

void writeKeywords(const test::WorkingDir& dir, const QStringList& keywords) {
    dir.write(QStringLiteral("schlag.dat"), cp(keywords.join(QStringLiteral("\r\n"))));
}

// A click followed by the double-click event itself: QTest's own double click reaches a widget
// in a window as two separate clicks.
void doubleClick(QWidget* widget, QPoint pos) {
    QTest::mouseClick(widget, Qt::LeftButton, {}, pos);
    QMouseEvent event(QEvent::MouseButtonDblClick, pos, widget->mapToGlobal(pos), Qt::LeftButton,
                      Qt::LeftButton, {});
    QApplication::sendEvent(widget, &event);
}

QStringList listed(const QListWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts.append(list->item(i)->text());
    return texts;
}

} // namespace

class TestAdvancedSearch : public QObject {
    Q_OBJECT

private slots:
    void criteriaTable_data() {
        using In = AdvancedSearchInput;
        QTest::addColumn<In>("input");
        QTest::addColumn<QStringList>("criteria");

        QTest::newRow("nothing") << In{} << QStringList{};
        QTest::newRow("signature whole") << In{.signature = "AB 1"} << QStringList{"1=AB 1"};
        QTest::newRow("title words")
            << In{.title = "Der, kleine;Prinz"} << QStringList{"2=Der", "2=kleine", "2=Prinz"};
        QTest::newRow("suitability whole") << In{.suitability = "Jugendliche / Erwachsene"}
                                           << QStringList{"3=Jugendliche / Erwachsene"};
        QTest::newRow("keywords words")
            << In{.keywords = "Schwarzes Theater"} << QStringList{"4=Schwarzes", "4=Theater"};
        QTest::newRow("description words")
            << In{.description = "Licht Ton"} << QStringList{"6=Licht", "6=Ton"};
        QTest::newRow("author words")
            << In{.author = "Anna Berg"} << QStringList{"7=Anna", "7=Berg"};
        QTest::newRow("media type Alle") << In{.mediaType = 0} << QStringList{};
        QTest::newRow("players") << In{.playersFrom = 4, .playersTo = 8} << QStringList{"d=4-8"};
        QTest::newRow("players to") << In{.playersTo = 5} << QStringList{"d=-5"};

        const In all = {.signature = "X1",
                        .title = "a b",
                        .suitability = "Kinder",
                        .keywords = "Ostern",
                        .duration = "bis 5 min.",
                        .description = "c",
                        .freeText = "d e",
                        .ageGroup = 1,
                        .stage = "ohne Bühne",
                        .author = "f",
                        .moreThan15 = true,
                        .newAcquisition = true,
                        .mediaType = 3};
        QTest::newRow("all in table order")
            << all << QStringList{"1=X1",         "2=a", "2=b", "3=Kinder", "4=Ostern",
                                  "5=bis 5 min.", "6=c", "0=d", "0=e",      "8=1",
                                  "9=ohne Bühne", "7=f", "b=1", "c=1",      "a=AV-Medien"};
    }

    void criteriaTable() {
        QFETCH(AdvancedSearchInput, input);
        QFETCH(QStringList, criteria);
        QCOMPARE(advancedCriteria(input), criteria);
    }

    void criteriaFind_data() {
        using In = AdvancedSearchInput;
        QTest::addColumn<In>("input");
        QTest::addColumn<Hits>("hits");

        QTest::newRow("no input lists all") << In{} << Hits{0, 1, 2, 3};
        QTest::newRow("both title words, any order") << In{.title = "kleine Prinz"} << Hits{0, 2};
        QTest::newRow("signature begins with") << In{.signature = "AB"} << Hits{0, 1};
        QTest::newRow("age group 3 needs four characters") << In{.ageGroup = 3} << Hits{0, 3};
        QTest::newRow("age group 1") << In{.ageGroup = 1} << Hits{3};
        QTest::newRow("keyword words, not the phrase")
            << In{.keywords = "Schwarzes Theater"} << Hits{0, 1};
        QTest::newRow("suitability part") << In{.suitability = "Senioren"} << Hits{0, 1};
        QTest::newRow("new acquisition") << In{.newAcquisition = true} << Hits{0};
        QTest::newRow("more than 15") << In{.moreThan15 = true} << Hits{1};
        QTest::newRow("media type") << In{.mediaType = 1} << Hits{2, 3};
        QTest::newRow("every input must match")
            << In{.signature = "CD", .title = "kleine", .mediaType = 1} << Hits{3};
        // Female and male together, only where both are numbers.
        QTest::newRow("players 4 to 8") << In{.playersFrom = 4, .playersTo = 8} << Hits{0, 2};
        QTest::newRow("players from 6") << In{.playersFrom = 6} << Hits{2};
        QTest::newRow("players up to 5") << In{.playersTo = 5} << Hits{0};
        QTest::newRow("players 6 to 7") << In{.playersFrom = 6, .playersTo = 7} << Hits{};
    }

    void criteriaFind() {
        QFETCH(AdvancedSearchInput, input);
        QFETCH(Hits, hits);
        QCOMPARE(hitsOf(catalogueOf(searchCatalogue()), advancedCriteria(input)), hits);
    }

    void clearButtonFollowsInputs_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("enabled");

        for (const char* name : {"Edit1", "Edit2", "Edit4", "Edit6", "Edit7", "Edit11"})
            QTest::newRow(name) << name << "x" << true;
        for (const char* name : {"Edit12", "Edit13"})
            QTest::newRow(name) << name << "4" << true;
        for (const char* name : {"Edit3", "Edit5", "Edit9", "Edit10", "ComboBox1"}) {
            QTest::addRow("%s second entry", name) << name << "1" << true;
            QTest::addRow("%s first entry", name) << name << "0" << false;
            QTest::addRow("%s no selection", name) << name << "-1" << false;
        }
        QTest::newRow("more than 15 ticked") << "CheckBox1"
                                             << "1" << true;
        QTest::newRow("new acquisition does not count") << "CheckBox2"
                                                        << "1" << false;
    }

    void clearButtonFollowsInputs() {
        QFETCH(QString, control);
        QFETCH(QString, value);
        QFETCH(bool, enabled);

        Terwsuch dialog(nullptr, 0);
        QVERIFY(!dialog.BitBtn3->isEnabled());
        QWidget* widget = child<QWidget>(&dialog, control);
        if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
            edit->setText(value);
        } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            // Away from the start first, so that the change to the value is a change.
            combo->setCurrentIndex(2);
            combo->setCurrentIndex(value.toInt());
        } else {
            qobject_cast<QCheckBox*>(widget)->click();
        }
        QCOMPARE(dialog.BitBtn3->isEnabled(), enabled);
    }

    void clearKeepsNewAcquisitionOnly() {
        Terwsuch dialog(nullptr, 0);
        for (QLineEdit* edit :
             {dialog.Edit1, dialog.Edit2, dialog.Edit4, dialog.Edit6, dialog.Edit7, dialog.Edit11})
            edit->setText("Wort");
        dialog.Edit12->setText("4");
        dialog.Edit13->setText("8");
        for (QComboBox* combo :
             {dialog.Edit3, dialog.Edit5, dialog.Edit9, dialog.Edit10, dialog.ComboBox1})
            combo->setCurrentIndex(2);
        dialog.CheckBox1->setChecked(true);
        dialog.CheckBox2->setChecked(true);

        dialog.BitBtn3->click();

        for (QComboBox* combo : {dialog.Edit3, dialog.Edit5, dialog.Edit9, dialog.Edit10})
            QCOMPARE(combo->currentIndex(), -1);
        QCOMPARE(dialog.ComboBox1->currentText(), QStringLiteral("Alle"));
        QVERIFY(!dialog.CheckBox1->isChecked());
        QVERIFY(dialog.CheckBox2->isChecked());
        QVERIFY(!dialog.BitBtn3->isEnabled());
        QCOMPARE(advancedCriteria(dialog.input()), QStringList{"c=1"});
    }

    void mediaTypePreset_data() {
        QTest::addColumn<int>("stdoIndex");
        QTest::addColumn<int>("shown");
        QTest::addColumn<int>("mediaType");
        QTest::addColumn<bool>("clearEnabled");

        QTest::newRow("Alle") << 0 << 0 << 0 << false;
        QTest::newRow("Werkbücher") << 2 << 2 << 2 << true;
        QTest::newRow("beyond the list") << 4 << -1 << 0 << false;
        QTest::newRow("negative") << -1 << -1 << 0 << false;
    }

    void mediaTypePreset() {
        QFETCH(int, stdoIndex);
        QFETCH(int, shown);
        QFETCH(int, mediaType);
        QFETCH(bool, clearEnabled);

        Terwsuch dialog(nullptr, stdoIndex);
        QCOMPARE(dialog.ComboBox1->count(), record::mediaTypes().size());
        QCOMPARE(dialog.ComboBox1->currentIndex(), shown);
        QCOMPARE(dialog.input().mediaType, mediaType);
        QCOMPARE(dialog.BitBtn3->isEnabled(), clearEnabled);
    }

    void enterAccepts_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");

        for (const char* name :
             {"Edit1", "Edit2", "Edit3", "Edit4", "Edit5", "Edit9", "Edit10", "Edit11", "ComboBox1",
              "CheckBox1", "CheckBox2", "SpeedButton3", "BitBtn5", "BitBtn3", "BitBtn2", "BitBtn1"})
            QTest::addRow("Return on %s", name)
                << name << int(Qt::Key_Return) << int(Qt::NoModifier);
        QTest::newRow("keypad Enter on a line edit")
            << "Edit7" << int(Qt::Key_Enter) << int(Qt::KeypadModifier);
        QTest::newRow("keypad Enter on a list")
            << "Edit3" << int(Qt::Key_Enter) << int(Qt::KeypadModifier);
        QTest::newRow("shifted Return on a line edit")
            << "Edit6" << int(Qt::Key_Return) << int(Qt::ShiftModifier);
        QTest::newRow("shifted Return on a list")
            << "ComboBox1" << int(Qt::Key_Return) << int(Qt::ShiftModifier);
    }

    void enterAccepts() {
        QFETCH(QString, control);
        QFETCH(int, key);
        QFETCH(int, modifiers);

        Terwsuch dialog(nullptr, 0);
        dialog.Edit2->setText("Prinz");
        dialog.show();
        QWidget* widget = child<QWidget>(&dialog, control);
        widget->setFocus();
        QTest::keyClick(widget, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.input().title, QStringLiteral("Prinz"));
    }

    void titleHasFocusAndEnterThere() {
        Terwsuch dialog(nullptr, 0);
        QWidget* focused = nullptr;
        test::answerNextModal([&](QWidget*) {
            focused = QApplication::focusWidget();
            QTest::keyClicks(focused, "Prinz");
            QTest::keyClick(focused, Qt::Key_Return);
        });
        QCOMPARE(dialog.exec(), int(QDialog::Accepted));
        QCOMPARE(focused, dialog.Edit2);
        QCOMPARE(advancedCriteria(dialog.input()), QStringList{"2=Prinz"});
    }

    void cancelKeepsInputs() {
        Terwsuch dialog(nullptr, 0);
        test::answerNextModal([&](QWidget*) {
            dialog.Edit11->setText("Berg");
            dialog.Edit9->setCurrentIndex(2);
            dialog.BitBtn2->click();
        });
        QCOMPARE(dialog.exec(), int(QDialog::Rejected));
        QCOMPARE(dialog.input().author, QStringLiteral("Berg"));
        QCOMPARE(dialog.input().ageGroup, 2);
    }

    void playersFromAboveToAreRefused() {
        Terwsuch dialog(nullptr, 0);
        const test::MessageWatch messages;
        dialog.Edit12->setText("9");
        dialog.Edit13->setText("4");
        dialog.BitBtn5->click();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(messages.texts().size(), 1);
    }

    void inputsSurviveSecondOpening() {
        Terwsuch dialog(nullptr, 0);
        test::answerNextModal([&](QWidget*) {
            dialog.Edit2->setText("Prinz");
            dialog.Edit10->setCurrentIndex(3);
            dialog.CheckBox2->setChecked(true);
            dialog.BitBtn5->click();
        });
        QCOMPARE(dialog.exec(), int(QDialog::Accepted));

        AdvancedSearchInput seen;
        test::answerNextModal([&](QWidget*) {
            seen = dialog.input();
            dialog.BitBtn5->click();
        });
        QCOMPARE(dialog.exec(), int(QDialog::Accepted));
        QCOMPARE(seen.title, QStringLiteral("Prinz"));
        QCOMPARE(seen.stage, QStringLiteral("einfache Vorhangbühne"));
        QVERIFY(seen.newAcquisition);
        QVERIFY(dialog.BitBtn3->isEnabled());
    }

    void emptyCaptionKeepsTheLastOne() {
        Terwsuch dialog(nullptr, 0);
        QCOMPARE(child<QLabel>(&dialog, "Label3")->text(), QStringLiteral("Eignung"));
        dialog.setSuitabilityCaption("Sachgebiet");
        dialog.setSuitabilityCaption(QString());
        QCOMPARE(dialog.Label3->text(), QStringLiteral("Sachgebiet"));
        const Catalogue catalogue;
        Tsachgeb areas(nullptr, catalogue);
        QCOMPARE(areas.windowTitle(), QStringLiteral("Sachgebiete"));
        areas.setCaptionText("Themen");
        areas.setCaptionText(QString());
        QCOMPARE(areas.windowTitle(), QStringLiteral("Themen"));
    }

    // Each line of an explanation stands whole on one line: none is wrapped, none is cut.
    void explanationsKeepTheirLines() {
        const test::WorkingDir dir;
        writeKeywords(dir, {"Zirkus"});
        const Tschlag keywords(nullptr);
        const Terwsuch search(nullptr, 0);
        for (const QLabel* label : {keywords.Label1, search.Label1}) {
            const QStringList lines = label->text().split('\n');
            QVERIFY(lines.size() >= 2);
            for (const QString& line : lines)
                QVERIFY2(QFontMetrics(label->font()).horizontalAdvance(line.trimmed()) <=
                             label->contentsRect().width(),
                         qPrintable(line));
        }
    }

    void keywordsShownSorted() {
        const test::WorkingDir dir;
        writeKeywords(dir, {"zebra", "Ärger", "birne", "Apfel", "", "Clown"});
        const Tschlag keywords(nullptr);
        QCOMPARE(listed(keywords.ListBox1),
                 (QStringList{"Apfel", "Ärger", "birne", "Clown", "zebra"}));
        QCOMPARE(keywords.ListBox1->currentRow(), 0);
        QVERIFY(keywords.ListBox1->currentItem()->isSelected());
        QCOMPARE(keywords.chosenKeyword(), QString());
    }

    void doubleClickPicksKeyword() {
        const test::WorkingDir dir;
        writeKeywords(dir, {"Zirkus", "Ostern", "Maskenspiel"});
        Tschlag keywords(nullptr);
        test::answerNextModal([&](QWidget*) {
            QListWidget* list = keywords.ListBox1;
            doubleClick(list->viewport(), list->visualItemRect(list->item(1)).center());
        });
        QCOMPARE(keywords.exec(), int(QDialog::Accepted));
        QCOMPARE(keywords.chosenKeyword(), QStringLiteral("Ostern"));
    }

    void typingAndEnterPickKeyword() {
        const test::WorkingDir dir;
        writeKeywords(dir, {"Komödie", "Clownerie", "Krimi", "Abenteuer"});
        Tschlag keywords(nullptr);
        test::answerNextModal([&](QWidget*) {
            keywords.ListBox1->setFocus();
            QTest::keyClicks(keywords.ListBox1, "kr");
            QTest::keyClick(keywords.ListBox1, Qt::Key_Return);
        });
        QCOMPARE(keywords.exec(), int(QDialog::Accepted));
        QCOMPARE(keywords.chosenKeyword(), QStringLiteral("Krimi"));
    }

    void cancelKeepsChosenKeyword() {
        const test::WorkingDir dir;
        writeKeywords(dir, {"Zirkus", "Ostern", "Maskenspiel"});
        Tschlag keywords(nullptr);
        test::answerNextModal([&](QWidget*) {
            keywords.ListBox1->setCurrentRow(2);
            keywords.BitBtn1->click();
        });
        QCOMPARE(keywords.exec(), int(QDialog::Accepted));
        QCOMPARE(keywords.chosenKeyword(), QStringLiteral("Zirkus"));

        test::answerNextModal([&](QWidget*) {
            keywords.ListBox1->setCurrentRow(0);
            keywords.BitBtn2->click();
        });
        QCOMPARE(keywords.exec(), int(QDialog::Rejected));
        QCOMPARE(keywords.chosenKeyword(), QStringLiteral("Zirkus"));
    }

    void missingKeywordFile() {
        const test::WorkingDir dir;
        test::ModalSeen seen;
        test::clickInNextModal("OK", &seen);
        Tschlag keywords(nullptr);
        QVERIFY(seen.shown);
        QCOMPARE(seen.text, QStringLiteral("Datei schlag.dat kann nicht geöffnet werden"));
        QCOMPARE(keywords.ListBox1->count(), 0);

        test::clickInNextModal("Übernehmen");
        QCOMPARE(keywords.exec(), int(QDialog::Accepted));
        QCOMPARE(keywords.chosenKeyword(), QString());
    }

    void keywordButtonFillsField_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("field");

        QTest::newRow("Übernehmen") << "Übernehmen"
                                    << "Ostern";
        QTest::newRow("Abbrechen") << "Abbrechen"
                                   << "Zirkus Clown";
    }

    void keywordButtonFillsField() {
        QFETCH(QString, button);
        QFETCH(QString, field);

        const test::WorkingDir dir;
        writeKeywords(dir, {"Zirkus", "Ostern", "Maskenspiel"});
        Tschlag keywords(nullptr);
        Terwsuch dialog(nullptr, 0);
        dialog.setKeywordList(&keywords);
        dialog.Edit4->setText("Zirkus Clown");
        test::answerNextModal([&](QWidget*) {
            keywords.ListBox1->setCurrentRow(1);
            test::clickInNextModal(button);
        });
        dialog.SpeedButton3->click();
        QCOMPARE(dialog.Edit4->text(), field);
    }

    void pickedTwoWordKeywordFindsBothWords() {
        const test::WorkingDir dir;
        writeKeywords(dir, {"Schwarzes Theater", "Märchen"});
        Tschlag keywords(nullptr);
        Terwsuch dialog(nullptr, 0);
        dialog.setKeywordList(&keywords);
        test::answerNextModal([&](QWidget*) {
            keywords.ListBox1->setCurrentRow(1);
            keywords.BitBtn1->click();
        });
        dialog.SpeedButton3->click();
        QCOMPARE(hitsOf(catalogueOf(searchCatalogue()), advancedCriteria(dialog.input())),
                 (Hits{0, 1}));
    }

    void subjectAreasFromCatalogue() {
        Catalogue catalogue;
        Tsachgeb areas(nullptr, catalogue);
        catalogue = catalogueOf(searchCatalogue());
        areas.show();

        const QTreeWidget* tree = areas.TreeView1;
        QStringList texts;
        QStringList values;
        for (int i = 0; i < tree->topLevelItemCount(); ++i) {
            texts.append(tree->topLevelItem(i)->text(0));
            values.append(tree->topLevelItem(i)->data(0, Qt::UserRole).toString());
            QCOMPARE(tree->topLevelItem(i)->childCount(), 0);
        }
        const QStringList expected = {"Jugendliche / Erwachsene mit Erfahrung", "Kinder",
                                      "Senioren"};
        QCOMPARE(texts, expected);
        QCOMPARE(values, expected);
        QCOMPARE(hitsOf(catalogue, {"3=" + values.at(2)}), (Hits{0, 1}));
    }

    void subjectAreaNeedsSelection() {
        const Catalogue catalogue = catalogueOf(searchCatalogue());
        Tsachgeb areas(nullptr, catalogue);
        bool stayedWithoutSelection = false;
        test::answerNextModal([&](QWidget*) {
            areas.BitBtn1->click();
            stayedWithoutSelection = areas.isVisible();
            areas.TreeView1->setCurrentItem(areas.TreeView1->topLevelItem(1));
            areas.BitBtn1->click();
        });
        QCOMPARE(areas.exec(), int(QDialog::Accepted));
        QVERIFY(stayedWithoutSelection);
        QCOMPARE(areas.selectedSubjectArea(), QStringLiteral("Kinder"));
        QVERIFY(!areas.BitBtn2->isVisible());
    }
};

ORBA_TEST_MAIN(TestAdvancedSearch)
#include "tst_advancedsearch.moc"
