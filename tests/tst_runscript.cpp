// The start scripts as a user runs them: with a display run.sh starts ORBA until its window is
// closed; without one, run.sh and screenshot.sh save a picture. Each runs in a tree of its own
// (a copy of the scripts, the demo data and this build), so the source tree stays untouched.
#include "TestMain.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <xcb/xcb.h>

namespace {

constexpr int kScriptMs = 60000;

// The scripts, copied, beside the demo data and this build.
class ScriptTree {
public:
    ScriptTree() {
        const QDir scripts(QStringLiteral(ORBA_SOURCE_DIR "/scripts"));
        QDir(m_dir.path()).mkdir(QStringLiteral("scripts"));
        for (const QString& name : scripts.entryList(QDir::Files))
            QFile::copy(scripts.filePath(name), file(QStringLiteral("scripts/") + name));
        QFile::link(QStringLiteral(ORBA_SOURCE_DIR "/demo"), file(QStringLiteral("demo")));
        QFile::link(QStringLiteral(ORBA_BINARY_DIR), file(QStringLiteral("build")));
    }
    QString file(const QString& name) const { return m_dir.filePath(name); }

    // Starts a script of the tree on this display (none when empty), as from a user's shell.
    void start(QProcess& script, const QString& name, const QString& display) const {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        environment.remove(QStringLiteral("DISPLAY"));
        if (!display.isEmpty())
            environment.insert(QStringLiteral("DISPLAY"), display);
        script.setProcessEnvironment(environment);
        script.setProcessChannelMode(QProcess::MergedChannels);
        script.start(file(QStringLiteral("scripts/") + name));
    }

    // The first entry of the demo data or the built mailer that run/ lacks; empty when none.
    QString missingFromRun() const {
        const QDir run(file(QStringLiteral("run")));
        const QDir demo(QStringLiteral(ORBA_SOURCE_DIR "/demo"));
        for (const QString& name : demo.entryList(QDir::AllEntries | QDir::NoDotAndDotDot)) {
            if (!run.exists(name))
                return name;
        }
        QFile mailer(run.filePath(QStringLiteral("send.exe")));
        QFile built(QStringLiteral(ORBA_MAILER));
        if (!QFileInfo(mailer).isExecutable() || !mailer.open(QIODevice::ReadOnly) ||
            !built.open(QIODevice::ReadOnly) || mailer.readAll() != built.readAll())
            return mailer.fileName();
        return {};
    }

private:
    QTemporaryDir m_dir;
};

// An X server of its own on a free display, with no window manager: the test finds windows
// through xdotool and does what a window manager would do through its own connection.
class XServer {
public:
    ~XServer() {
        if (m_connection)
            xcb_disconnect(m_connection);
        m_server.terminate();
        m_server.waitForFinished();
    }

    bool start() {
        m_server.start(QStringLiteral("Xvfb"),
                       {QStringLiteral("-displayfd"), QStringLiteral("1"),
                        QStringLiteral("-screen"), QStringLiteral("0"),
                        QStringLiteral("1280x1024x24"), QStringLiteral("-nolisten"),
                        QStringLiteral("tcp")});
        // The server writes its display number once it accepts connections.
        while (!m_server.canReadLine()) {
            if (!m_server.waitForReadyRead(10000))
                return false;
        }
        m_display = QLatin1Char(':') + QString::fromLatin1(m_server.readLine().trimmed());
        m_connection = xcb_connect(m_display.toLatin1().constData(), nullptr);
        return !xcb_connection_has_error(m_connection);
    }
    QString display() const { return m_display; }

    // Waits, while the program runs, for a shown window of exactly this title that is not a
    // dialog (when `dialogs` is false); 0 when none comes.
    xcb_window_t waitForWindow(const QProcess& program, const QString& title, bool dialogs) {
        xcb_window_t found = 0;
        const auto shown = [&] {
            for (const QString& id :
                 xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                          QStringLiteral("--name"), QLatin1Char('^') + title + QLatin1Char('$')})) {
                if (dialogs || !isDialog(id.toUInt()))
                    found = id.toUInt();
            }
            return found != 0 || program.state() == QProcess::NotRunning;
        };
        return QTest::qWaitFor(shown, kScriptMs) ? found : 0;
    }

    // What a window manager sends when the user clicks the window's close button.
    void requestClose(xcb_window_t window) {
        xcb_client_message_event_t event{};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 32;
        event.window = window;
        event.type = atom("WM_PROTOCOLS");
        event.data.data32[0] = atom("WM_DELETE_WINDOW");
        event.data.data32[1] = XCB_CURRENT_TIME;
        xcb_send_event(m_connection, 0, window, XCB_EVENT_MASK_NO_EVENT,
                       reinterpret_cast<const char*>(&event));
        xcb_flush(m_connection);
    }

    void pressKey(xcb_window_t window, const QString& key) {
        xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), QString::number(window),
                 QStringLiteral("key"), key});
    }

private:
    QStringList xdotool(const QStringList& arguments) const {
        QProcess tool;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), m_display);
        tool.setProcessEnvironment(environment);
        tool.start(QStringLiteral("xdotool"), arguments);
        tool.waitForFinished();
        return QString::fromLatin1(tool.readAllStandardOutput())
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    xcb_atom_t atom(const char* name) {
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
            m_connection, xcb_intern_atom(m_connection, 0, std::strlen(name), name), nullptr);
        const xcb_atom_t result = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        std::free(reply);
        return result;
    }

    bool isDialog(xcb_window_t window) {
        xcb_get_property_reply_t* reply = xcb_get_property_reply(
            m_connection,
            xcb_get_property(m_connection, 0, window, atom("_NET_WM_WINDOW_TYPE"), XCB_ATOM_ATOM, 0,
                             16),
            nullptr);
        bool dialog = false;
        if (reply) {
            const auto* types = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
            const int count = xcb_get_property_value_length(reply) / int(sizeof(xcb_atom_t));
            dialog = std::find(types, types + count, atom("_NET_WM_WINDOW_TYPE_DIALOG")) !=
                     types + count;
        }
        std::free(reply);
        return dialog;
    }

    QProcess m_server;
    QString m_display;
    xcb_connection_t* m_connection = nullptr;
};

} // namespace

class TestRunScript : public QObject {
    Q_OBJECT

private slots:
    void onADisplayTheProgramRunsUntilItsWindowIsClosed() {
        XServer x;
        QVERIFY(x.start());
        ScriptTree tree;
        QProcess script;
        tree.start(script, QStringLiteral("run.sh"), x.display());

        const xcb_window_t main = x.waitForWindow(script, QStringLiteral("ORBA 4.0"), false);
        QVERIFY2(main != 0, script.readAll().constData());
        x.requestClose(main);
        const xcb_window_t question = x.waitForWindow(script, QStringLiteral("Warnung"), true);
        QVERIFY(question != 0);
        // "Ja" is the question's default button.
        x.pressKey(question, QStringLiteral("Return"));

        QVERIFY(script.waitForFinished(kScriptMs));
        QCOMPARE(script.exitStatus(), QProcess::NormalExit);
        QCOMPARE(script.exitCode(), 0);
        QCOMPARE(tree.missingFromRun(), QString());
    }

    void withoutADisplayAPictureIsSaved_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("picture");
        QTest::newRow("run.sh") << "run.sh"
                                << "run/orba-start.png";
        QTest::newRow("screenshot.sh") << "screenshot.sh"
                                       << "docs/orba.png";
    }
    void withoutADisplayAPictureIsSaved() {
        QFETCH(QString, name);
        QFETCH(QString, picture);
        ScriptTree tree;
        QProcess script;
        tree.start(script, name, QString());
        QVERIFY(script.waitForFinished(kScriptMs));
        const QByteArray output = script.readAll();
        QVERIFY2(script.exitStatus() == QProcess::NormalExit && script.exitCode() == 0,
                 output.constData());
        QVERIFY2(!QImage(tree.file(picture)).isNull(), output.constData());
    }
};

ORBA_TEST_MAIN(TestRunScript)
#include "tst_runscript.moc"
