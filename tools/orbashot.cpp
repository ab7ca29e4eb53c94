// Starts ORBA in the working directory and saves pictures of it.
//   orbashot <bild.png> [suchbegriff [zeile]]
//     the main window once it is up; with a search text it first searches and selects a hit (the
//     given row, the first by default), so that the picture shows a medium's details.
//   orbashot --fenster <ordner> [name...]
//     pictures of the windows as <ordner>/<name>.png, on the demo data. Without names, the
//     README's: the main window with a hit selected in both arrangements ("hauptfenster",
//     "hauptfenster-nebeneinander"), "erweiterte-suche", "einstellungen", its E-Mail page filled
//     in for a provider ("einstellungen-email"), the basket with dates ("bestellkorb"), the print
//     preview of an order ("druckvorschau"), "email", the question for the mail server's password
//     ("passwort") and the information window ("info"). Made only by name: "schlagwortliste",
//     "hilfe", the reservation date ("reservierungsdatum"), the date column being edited
//     ("bestellkorb-datum"), "benutzerliste", "neuer-benutzer", the prompt for the own address
//     ("eigene-adresse"), "notiz", the about box ("info-ueber"), the main window after an advanced
//     search, sorted by title ("erweiterte-suche-ergebnis"), and the pictures of the help.
//   orbashot --hilfe <ordner>
//     the picture of each page of the help, named after the page ("main", "treffer", "setup",
//     "setup-email", ...), with the main window at a size the help window shows whole.
// Each file's name is printed once it is saved.
#include "app/Application.h"
#include "app/Startup.h"
#include "app/TForm1.h"
#include "catalogue/Terwsuch.h"
#include "catalogue/Tsachgeb.h"
#include "catalogue/Tschlag.h"
#include "core/TextFile.h"
#include "display/Tinfo.h"
#include "display/Tnotiz.h"
#include "lists/ListGrid.h"
#include "output/Temail.h"
#include "output/Tfehler.h"
#include "output/TForm15.h"
#include "output/Tpasswort.h"
#include "output/Tprogbar.h"
#include "platform/HelpViewer.h"
#include "settings/HelpRouter.h"
#include "settings/Tbenu.h"
#include "settings/Tsetup.h"
#include "settings/Tstat.h"
#include "update/Taktualisierung.h"

#include <cstdio>
#include <functional>
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

namespace {

using orba::TForm1;

// Lets the windows lay themselves out and paint.
void settle(int ms = 400) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
}

bool save(QWidget* window, const QString& file) {
    if (!window->grab().save(file))
        return false;
    std::printf("%s\n", qPrintable(file));
    std::fflush(stdout);
    return true;
}

void searchAndSelect(TForm1& main, const QString& text, int row) {
    main.Edit1->setEditText(text);
    main.SpeedButton1->click();
    if (row > 1 && row < main.StringGrid1->rowCount())
        main.StringGrid1->selectRow(row);
    settle();
}

// Runs `open`, which shows a modal dialog, and saves the dialog called `target` once it is up.
// The user list on the way to an order is confirmed with its first entry; any other dialog on
// the way is cancelled.
bool modalPicture(const QString& target, const QString& file, const std::function<void()>& open) {
    bool saved = false;
    int ticks = 0;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        if (modal->objectName() == target) {
            if (++ticks == 4) {
                saved = save(modal, file);
                modal->close();
            }
        } else if (modal->objectName() == QLatin1String("Tbenu")) {
            auto* users = static_cast<orba::Tbenu*>(modal);
            users->ListBox1->setCurrentRow(0);
            users->BitBtn5->click();
        } else {
            modal->close();
        }
    });
    poll.start(100);
    open();
    return saved;
}

const QStringList readmePictures = {QStringLiteral("hauptfenster"),
                                    QStringLiteral("hauptfenster-nebeneinander"),
                                    QStringLiteral("erweiterte-suche"),
                                    QStringLiteral("einstellungen"),
                                    QStringLiteral("einstellungen-email"),
                                    QStringLiteral("bestellkorb"),
                                    QStringLiteral("druckvorschau"),
                                    QStringLiteral("email"),
                                    QStringLiteral("passwort"),
                                    QStringLiteral("info")};

// One for each page of the help, named after it; the print page shows the preview and the
// progress of a report.
const QStringList helpPictures = {
    QStringLiteral("main"),        QStringLiteral("treffer"),
    QStringLiteral("privat"),      QStringLiteral("bestell"),
    QStringLiteral("erwsuch"),     QStringLiteral("schlag"),
    QStringLiteral("sachgeb"),     QStringLiteral("setup"),
    QStringLiteral("setup-email"), QStringLiteral("setup-vorbelegungen"),
    QStringLiteral("resdat"),      QStringLiteral("drucken"),
    QStringLiteral("bericht"),     QStringLiteral("email"),
    QStringLiteral("passwort"),    QStringLiteral("sendprot"),
    QStringLiteral("adresse"),     QStringLiteral("benu"),
    QStringLiteral("benuneu"),     QStringLiteral("notiz"),
    QStringLiteral("infos"),       QStringLiteral("statist"),
    QStringLiteral("aktual"),      QStringLiteral("ueber"),
    QStringLiteral("index")};

// A mail the server refused because the sender is not the account's own address, as the mailer
// logs it.
const QStringList refusedMailLog = {
    QStringLiteral("< 220 mail.schule.example ESMTP"),
    QStringLiteral("> EHLO orba"),
    QStringLiteral("< 250-mail.schule.example"),
    QStringLiteral("< 250 AUTH PLAIN LOGIN"),
    QStringLiteral("> AUTH PLAIN ****"),
    QStringLiteral("< 235 2.7.0 Authentication successful"),
    QStringLiteral("> MAIL FROM:<m.muster@schule.example>"),
    QStringLiteral("< 250 2.1.0 Ok"),
    QStringLiteral("> RCPT TO:<bestellung@spielberatung.example>"),
    QStringLiteral("< 553 5.7.1 <m.muster@schule.example>: Sender address rejected: not owned by "
                   "user lehrer@schule.example"),
    QStringLiteral("> QUIT"),
    QStringLiteral("Fehler: Der Server hat den Absender m.muster@schule.example abgelehnt: 553 "
                   "5.7.1 <m.muster@schule.example>: Sender address rejected: not owned by user "
                   "lehrer@schule.example. Bitte in den Einstellungen unter E-Mail die \"Eigene "
                   "E-Mail-Adresse\" prüfen: Als Absender nimmt der Server meist nur die Adresse "
                   "des Kontos \"lehrer@schule.example\" an.")};

// Shows a window that is not modal, saves it and hides it again.
bool shown(QWidget* window, const QString& file) {
    window->show();
    settle();
    const bool saved = save(window, file);
    window->hide();
    return saved;
}

int allWindows(const orba::Session& session, const QString& folder, const QStringList& names,
               QSize mainSize) {
    TForm1& main = session.mainWindow();
    const orba::Forms& forms = session.forms();
    main.resize(mainSize);
    int failures = 0;
    // A picture may serve under several names: the README's and the help's.
    auto picture = [&](const QStringList& pictureNames,
                       const std::function<bool(const QString&)>& take) {
        for (const QString& name : pictureNames) {
            if (names.contains(name) &&
                !take(QDir(folder).absoluteFilePath(name + QStringLiteral(".png"))))
                ++failures;
        }
    };
    auto ofMain = [&](const QString& file) { return save(&main, file); };
    auto ofLists = [&](const QString& file) { return save(main.PageControl1, file); };

    searchAndSelect(main, QStringLiteral("Masken"), 2);
    picture({"hauptfenster", "main"}, ofMain);
    picture({"treffer"}, ofLists);
    picture({"hauptfenster-nebeneinander"}, [&](const QString& file) {
        main.horizontaleTeilung1->trigger();
        settle();
        const bool saved = save(&main, file);
        main.vertikaleTeilung1->trigger();
        return saved;
    });
    picture({"erweiterte-suche", "erwsuch"}, [&](const QString& file) {
        forms.erwsuch->Edit2->setText(QStringLiteral("Spiel"));
        forms.erwsuch->Edit9->setCurrentIndex(2);
        return modalPicture("Terwsuch", file, [&] { main.erweiterteSuche1->trigger(); });
    });
    picture({"schlagwortliste", "schlag"}, [&](const QString& file) {
        return modalPicture("Tschlag", file, [&] { forms.erwsuch->SpeedButton3Click(); });
    });
    picture({"sachgeb"}, [&](const QString& file) {
        orba::Tsachgeb& areas = main.subjectAreas();
        return modalPicture("Tsachgeb", file, [&] {
            QTimer::singleShot(200, &areas, [&] {
                areas.TreeView1->setCurrentItem(areas.TreeView1->topLevelItem(1));
            });
            areas.exec();
        });
    });
    picture({"einstellungen", "setup"}, [&](const QString& file) {
        return modalPicture("Tsetup", file, [&] { main.Einstellungen1->trigger(); });
    });
    picture({"einstellungen-email", "setup-email"}, [&](const QString& file) {
        orba::Tsetup* setup = forms.setup;
        setup->Edit1->setText(QStringLiteral("mail.schule.example"));
        setup->ComboBox1->setCurrentIndex(1);
        setup->Edit5->setText(QStringLiteral("lehrer@schule.example"));
        setup->PageControl1->setCurrentIndex(1);
        const bool saved = modalPicture("Tsetup", file, [&] { main.Einstellungen1->trigger(); });
        setup->PageControl1->setCurrentIndex(0);
        return saved;
    });
    picture({"setup-vorbelegungen"}, [&](const QString& file) {
        forms.setup->PageControl1->setCurrentIndex(2);
        const bool saved = modalPicture("Tsetup", file, [&] { main.Einstellungen1->trigger(); });
        forms.setup->PageControl1->setCurrentIndex(0);
        return saved;
    });

    // Three media of the hit list go into the private list, the first with a note.
    picture({"privat"}, [&](const QString& file) {
        for (int row = 1; row <= 3 && row < main.StringGrid1->rowCount(); ++row) {
            main.StringGrid1->selectRow(row);
            main.BitBtn2->click();
        }
        main.SelectPage(1);
        main.StringGrid3->selectRow(1);
        QTimer::singleShot(300, forms.notiz, [&] {
            forms.notiz->Memo1->setPlainText(QStringLiteral("Für die Theater-AG der 7b"));
            forms.notiz->BitBtn1->click();
        });
        main.Notiz1->trigger();
        settle();
        const bool saved = save(main.PageControl1, file);
        main.SelectPage(0);
        return saved;
    });
    // Three media of the hit list go into the basket.
    for (int row = 1; row <= 3 && row < main.StringGrid1->rowCount(); ++row) {
        main.StringGrid1->selectRow(row);
        main.BitBtn1->click();
    }
    main.SelectPage(2);
    main.ShowMediumDetails(-1);
    settle();
    picture({"bestellkorb"}, ofMain);
    picture({"bestell"}, ofLists);
    picture({"reservierungsdatum", "resdat"}, [&](const QString& file) {
        main.StringGrid2->selectRow(1);
        return modalPicture("Tresdat", file, [&] { main.Reservierungsdatumndern1->trigger(); });
    });
    picture({"bestellkorb-datum"}, [&](const QString& file) {
        main.StringGrid4->edit(main.StringGrid4->model()->index(0, 0));
        settle();
        const bool saved = save(&main, file);
        main.StringGrid4->setFocus();
        settle();
        return saved;
    });
    picture({"druckvorschau", "drucken"}, [&](const QString& file) {
        return modalPicture("TPrevForm", file, [&] { main.BitBtn4->click(); });
    });
    picture({"bericht"}, [&](const QString& file) {
        orba::Tprogbar progress(&main);
        progress.setMaximum(4);
        progress.setPosition(2);
        return shown(&progress, file);
    });
    picture({"email"}, [&](const QString& file) {
        return modalPicture("Temail", file, [&] { main.BitBtn5->click(); });
    });
    picture({"passwort"}, [&](const QString& file) {
        orba::Tpasswort question(forms.email,
                                 {QStringLiteral("mail.schule.example"), QStringLiteral("STARTTLS"),
                                  QStringLiteral("lehrer@schule.example"), QString()},
                                 true, false);
        return shown(&question, file);
    });
    picture({"sendprot"}, [&](const QString& file) {
        orba::textfile::writeLines(QStringLiteral("log.tmp"), refusedMailLog);
        orba::Tfehler log(forms.email);
        return shown(&log, file);
    });
    picture({"info", "infos"}, [&](const QString& file) {
        main.aktuelleInfos1->trigger();
        settle();
        const bool saved = save(forms.info, file);
        forms.info->hide();
        return saved;
    });
    picture({"statist"}, [&](const QString& file) {
        return modalPicture("Tstat", file, [&] { forms.stat->exec(); });
    });
    picture({"aktual"}, [&](const QString& file) {
        orba::Taktualisierung update(&main);
        update.showProgress(QStringLiteral("orb32.dat wird geladen …"), 1'250'000, 2'900'000);
        return shown(&update, file);
    });
    picture({"benutzerliste", "benu"}, [&](const QString& file) {
        return modalPicture("Tbenu", file, [&] { main.Benutzerliste1->trigger(); });
    });
    picture({"neuer-benutzer", "benuneu"}, [&](const QString& file) {
        return modalPicture("Tbenu_neu", file, [&] { forms.benu->BitBtn3->click(); });
    });
    picture({"eigene-adresse", "adresse"}, [&](const QString& file) {
        return modalPicture("TForm15", file, [&] { forms.form15->askOwnAddress(); });
    });
    picture({"notiz"}, [&](const QString& file) {
        return modalPicture("Tnotiz", file,
                            [&] { forms.notiz->editNote(QStringLiteral("WB 002")); });
    });
    picture({"info-ueber", "ueber"}, [&](const QString& file) {
        return modalPicture("Tstart", file, [&] { main.Infober1->trigger(); });
    });
    picture({"erweiterte-suche-ergebnis"}, [&](const QString& file) {
        forms.erwsuch->BitBtn3->click();
        forms.erwsuch->Edit12->setText(QStringLiteral("4"));
        forms.erwsuch->Edit13->setText(QStringLiteral("8"));
        forms.erwsuch->ComboBox1->setCurrentIndex(1);
        QTimer::singleShot(400, forms.erwsuch, [&] { forms.erwsuch->BitBtn5->click(); });
        main.erweiterteSuche1->trigger();
        main.nachTitelsortieren1->trigger();
        settle();
        return save(&main, file);
    });
    picture({"hilfe", "index"}, [&](const QString& file) {
        main.SpeedButton5->click();
        settle();
        const bool saved = save(main.help().viewer(), file);
        main.help().closeHelp();
        return saved;
    });
    return failures == 0 ? 0 : 1;
}

int mainWindow(TForm1& main, int argc, char** argv) {
    if (argc >= 3) {
        const int row = argc == 4 ? QString::fromLocal8Bit(argv[3]).toInt() : 1;
        searchAndSelect(main, QString::fromLocal8Bit(argv[2]), row);
    }
    settle();
    return save(&main, QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    const bool windows = argc >= 3 && QByteArray(argv[1]) == "--fenster";
    const bool help = argc == 3 && QByteArray(argv[1]) == "--hilfe";
    if (argc < 2 || (!windows && !help && argc > 4)) {
        std::fprintf(stderr, "Aufruf: orbashot <bild.png> [suchbegriff [zeile]]\n"
                             "        orbashot --fenster <ordner> [name...]\n"
                             "        orbashot --hilfe <ordner>\n");
        return 2;
    }
    orba::Application app(argc, argv);
    const auto session = orba::startUp();
    if (!session)
        return 1;
    int result = 1;
    QTimer::singleShot(300, [&] {
        const QString folder = argc >= 3 ? QString::fromLocal8Bit(argv[2]) : QString();
        if (help) {
            result = allWindows(*session, folder, helpPictures, {700, 500});
        } else if (windows) {
            QStringList names;
            for (int i = 3; i < argc; ++i)
                names.append(QString::fromLocal8Bit(argv[i]));
            result =
                allWindows(*session, folder, names.isEmpty() ? readmePictures : names, {900, 640});
        } else {
            result = mainWindow(session->mainWindow(), argc, argv);
        }
        QApplication::exit();
    });
    app.exec();
    return result;
}
