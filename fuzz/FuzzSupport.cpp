#include "FuzzSupport.h"

#include "app/Application.h"
#include "core/OrbaError.h"

#include <cstdio>
#include <cstdlib>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace orba::fuzz {

namespace {

void setUp() {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt's notes (the headless platform cannot raise a window, ...) would bury the findings.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtFatalMsg)
            fail("no fatal message from Qt", __FILE__, __LINE__, text);
    });
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    // Never destroyed: the harness ends with exit(), while Qt may still be needed.
    static const Application* const application = new Application(argc, argv);
    Q_UNUSED(application);
    // In memory where the system offers it: every settings write is synced to disk otherwise.
    static QTemporaryDir scratch(QDir(QStringLiteral("/dev/shm")).exists()
                                     ? QStringLiteral("/dev/shm/orba-fuzz-XXXXXX")
                                     : QDir::tempPath() + QStringLiteral("/orba-fuzz-XXXXXX"));
    if (!scratch.isValid() || !QDir::setCurrent(scratch.path()))
        fail("working directory", __FILE__, __LINE__, scratch.path());
}

} // namespace

QByteArray bytes(const std::uint8_t* data, std::size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

void writeFile(const QString& name, const QByteArray& bytes) {
    QFile file(name);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        fail("file written", __FILE__, __LINE__, name);
}

QByteArray readFile(const QString& name) {
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void expectLeftAlone(const QString& name, const QByteArray& input,
                     const std::function<void()>& save) {
    try {
        save();
    } catch (const OrbaError&) {
    }
    FUZZ_EXPECT(readFile(name) == input);
}

std::pair<QByteArray, QByteArray> splitFirstLine(const QByteArray& input) {
    const qsizetype end = input.indexOf('\n');
    if (end < 0)
        return {input, QByteArray()};
    return {input.left(end), input.mid(end + 1)};
}

void copyDemoFile(const QString& name) {
    if (!QFile::copy(QStringLiteral(ORBA_DEMO_DIR "/") + name, name))
        fail("demo file copied", __FILE__, __LINE__, name);
}

bool startsWithByteOrderMark(const QByteArray& bytes) {
    return bytes.startsWith("\xEF\xBB\xBF") || bytes.startsWith("\xFF\xFE") ||
           bytes.startsWith("\xFE\xFF");
}

void fail(const char* expectation, const char* file, int line, const QString& details) {
    std::fprintf(stderr, "%s:%d: expected %s\n%s\n", file, line, expectation,
                 qUtf8Printable(details));
    std::abort();
}

} // namespace orba::fuzz

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    orba::fuzz::setUp();
    return 0;
}
