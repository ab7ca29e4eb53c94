#include "platform/HelpViewer.h"

#include "core/Cp1252.h"
#include "core/ScreenFit.h"
#include "platform/CompiledHelpCheck.h"

#include <chm_lib.h>
#include <functional>
#include <optional>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolBar>
#include <QVBoxLayout>

namespace orba {

// Where the pages come from: the compiled help file, or the loose files beside it when there is
// none. A help file that exists but cannot be opened gives no pages at all; a damaged one that
// chmlib cannot read safely is never handed to it and has no pages either.
class HelpPages {
public:
    explicit HelpPages(const QString& helpFile)
        : m_folder(QFileInfo(helpFile).absolutePath()), m_present(QFileInfo(helpFile).isFile()) {
        if (!m_present)
            return;
        m_damaged = !compiledhelp::safeToOpen(helpFile);
        if (!m_damaged)
            m_chm.reset(chm_open(QFile::encodeName(helpFile).constData()));
    }

    bool unreadable() const { return m_present && !m_damaged && !m_chm; }

    // The bytes of the page or picture at `path` ("html/setup.htm"), if the help has it.
    std::optional<QByteArray> read(const QString& path) const {
        const QString clean = QDir::cleanPath(path);
        const bool outside = clean == QLatin1String("..") || clean.startsWith(QLatin1String("../"));
        if (clean.isEmpty() || outside || QDir::isAbsolutePath(clean))
            return std::nullopt;
        if (m_damaged)
            return std::nullopt;
        return m_chm ? readCompiled(clean) : readLoose(clean);
    }

    QString defaultTopic() const {
        if (m_chm) {
            const QString topic = systemDefaultTopic();
            if (!topic.isEmpty() && read(topic))
                return topic;
        }
        for (const char* candidate : {"html/index.htm", "index.htm", "default.htm"}) {
            if (read(QLatin1String(candidate)))
                return QLatin1String(candidate);
        }
        return QStringLiteral("html/index.htm");
    }

private:
    // More than any help page or picture needs; a damaged directory cannot make us allocate more.
    static constexpr LONGUINT64 kLargestObject = 64 * 1024 * 1024;

    std::optional<QByteArray> readCompiled(const QString& path) const {
        chmUnitInfo unit{};
        const QByteArray name = QByteArrayLiteral("/") + path.toUtf8();
        if (chm_resolve_object(m_chm.get(), name.constData(), &unit) != CHM_RESOLVE_SUCCESS ||
            unit.length > kLargestObject)
            return std::nullopt;
        QByteArray bytes(qsizetype(unit.length), Qt::Uninitialized);
        if (unit.length == 0)
            return bytes;
        const LONGINT64 got =
            chm_retrieve_object(m_chm.get(), &unit, reinterpret_cast<unsigned char*>(bytes.data()),
                                0, LONGINT64(unit.length));
        if (got != LONGINT64(unit.length))
            return std::nullopt;
        return bytes;
    }

    std::optional<QByteArray> readLoose(const QString& path) const {
        QFile file(m_folder + QLatin1Char('/') + path);
        if (!QFileInfo(file).isFile() || !file.open(QIODevice::ReadOnly))
            return std::nullopt;
        return file.readAll();
    }

    // "#SYSTEM" holds a version number and then records of code, length and data; the record
    // with code 2 names the page the help opens with.
    QString systemDefaultTopic() const {
        const std::optional<QByteArray> system = readCompiled(QStringLiteral("#SYSTEM"));
        if (!system)
            return {};
        const auto* data = reinterpret_cast<const unsigned char*>(system->constData());
        const qsizetype size = system->size();
        auto word = [data](qsizetype at) { return int(data[at] | (data[at + 1] << 8)); };
        for (qsizetype pos = 4; pos + 4 <= size;) {
            const int code = word(pos);
            const int length = word(pos + 2);
            pos += 4;
            if (pos + length > size)
                break;
            if (code == 2) {
                const QByteArray topic = system->mid(pos, length);
                const qsizetype nul = topic.indexOf('\0');
                QString text = cp1252::decode(nul < 0 ? topic : topic.left(nul));
                while (text.startsWith(QLatin1Char('/')))
                    text.remove(0, 1);
                return text;
            }
            pos += length;
        }
        return {};
    }

    struct ChmCloser {
        void operator()(chmFile* file) const { chm_close(file); }
    };

    QString m_folder;
    bool m_present;
    bool m_damaged = false;
    std::unique_ptr<chmFile, ChmCloser> m_chm;
};

namespace {

const QString kScheme = QStringLiteral("help");

// A text browser whose pages and pictures come from a function instead of the file system.
class ResourceBrowser : public QTextBrowser {
public:
    using Loader = std::function<QVariant(int, const QUrl&)>;
    ResourceBrowser(QWidget* parent, Loader loader)
        : QTextBrowser(parent), m_loader(std::move(loader)) {}

    QVariant loadResource(int type, const QUrl& name) override {
        // Pictures and style sheets are named relative to the page that uses them.
        return m_loader(type, name.isRelative() ? source().resolved(name) : name);
    }

private:
    Loader m_loader;
};

QUrl helpUrl(const QString& topic) {
    const qsizetype hash = topic.indexOf(QLatin1Char('#'));
    QUrl url;
    url.setScheme(kScheme);
    url.setPath(QLatin1Char('/') + (hash < 0 ? topic : topic.left(hash)));
    if (hash >= 0)
        url.setFragment(topic.mid(hash + 1));
    return url;
}

// Help pages are written in Windows-1252 unless they say they are UTF-8.
QString decodePage(const QByteArray& bytes) {
    const QByteArray head = bytes.left(2048).toLower();
    if (head.startsWith("\xef\xbb\xbf") || head.contains("charset=utf-8") ||
        head.contains("charset=\"utf-8"))
        return QString::fromUtf8(bytes);
    return cp1252::decode(bytes);
}

QString notePage(const QString& text) {
    return QStringLiteral("<html><body><h3>ORBA-Hilfe</h3><p>%1</p></body></html>")
        .arg(text.toHtmlEscaped());
}

} // namespace

HelpViewer::HelpViewer(QWidget* parent, QString helpFile)
    : QWidget(parent, Qt::Window), m_owner(parent), m_helpFile(std::move(helpFile)),
      m_pages(std::make_unique<HelpPages>(m_helpFile)) {
    setObjectName(QStringLiteral("HelpViewer"));
    setWindowTitle(QStringLiteral("ORBA-Hilfe"));
    resize(720, 540);

    HelpBrowser = new ResourceBrowser(
        this, [this](int type, const QUrl& url) { return resource(type, url); });
    HelpBrowser->setObjectName(QStringLiteral("HelpBrowser"));

    auto* tools = new QToolBar(this);
    QAction* contents = tools->addAction(QStringLiteral("Inhalt"), this, &HelpViewer::showContents);
    QAction* back =
        tools->addAction(QStringLiteral("Zurück"), HelpBrowser, &QTextBrowser::backward);
    QAction* forward = tools->addAction(QStringLiteral("Vor"), HelpBrowser, &QTextBrowser::forward);
    // A tool bar shows no access keys; these are the keys browsers use.
    for (const auto& [action, keys] : {std::pair{contents, Qt::ALT | Qt::Key_Home},
                                       {back, Qt::ALT | Qt::Key_Left},
                                       {forward, Qt::ALT | Qt::Key_Right}}) {
        action->setShortcut(QKeySequence(keys));
        action->setToolTip(QStringLiteral("%1 (%2)").arg(
            action->text(), action->shortcut().toString(QKeySequence::NativeText)));
    }
    HelpBrowser->setAccessibleName(QStringLiteral("Hilfeseite"));
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(HelpBrowser, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(HelpBrowser, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(tools);
    layout->addWidget(HelpBrowser);
}

HelpViewer::~HelpViewer() = default;

void HelpViewer::showTopic(const QString& topic) {
    reopen();
    go(topic);
}

void HelpViewer::showContents() {
    reopen();
    go(m_pages->defaultTopic());
}

void HelpViewer::showContext(int context, const QString& topic) {
    reopen();
    if (topic.isEmpty())
        showNote(QStringLiteral("Zur Hilfenummer %1 ist keine Hilfeseite vorhanden.").arg(context));
    else
        go(topic);
}

void HelpViewer::reopen() {
    m_pages = std::make_unique<HelpPages>(m_helpFile);
}

void HelpViewer::go(const QString& topic) {
    const QUrl url = helpUrl(topic);
    if (HelpBrowser->source() == url)
        HelpBrowser->reload();
    else
        HelpBrowser->setSource(url, QTextDocument::HtmlResource);
    present();
}

void HelpViewer::showNote(const QString& text) {
    HelpBrowser->setHtml(notePage(text));
    present();
}

void HelpViewer::present() {
    // Asked for from a modal dialog, the window belongs to that dialog so that the dialog does
    // not block it; otherwise it belongs to its owner again.
    QWidget* owner = QApplication::activeModalWidget();
    if (!owner)
        owner = m_owner;
    if (parentWidget() != owner)
        setParent(owner, windowFlags());
    if (!isVisible() && screen())
        resize(size().boundedTo(roomForContent(this).size()));
    show();
    raise();
    activateWindow();
}

QVariant HelpViewer::resource(int type, const QUrl& url) const {
    if (type == QTextDocument::HtmlResource)
        return url.scheme() == kScheme ? pageOrNote(url.path().mid(1))
                                       : notePage(QStringLiteral("Die Seite %1 ist nicht Teil "
                                                                 "der Hilfe.")
                                                      .arg(url.toString()));
    if (url.scheme() != kScheme)
        return {};
    const std::optional<QByteArray> bytes = m_pages->read(url.path().mid(1));
    if (!bytes)
        return {};
    if (type == QTextDocument::StyleSheetResource)
        return decodePage(*bytes);
    return *bytes;
}

QString HelpViewer::pageOrNote(const QString& path) const {
    if (m_pages->unreadable())
        return notePage(
            QStringLiteral("Die Hilfedatei %1 kann nicht gelesen werden.").arg(m_helpFile));
    const std::optional<QByteArray> page = m_pages->read(path);
    if (!page)
        return notePage(QStringLiteral("Die Hilfeseite %1 ist nicht vorhanden.").arg(path));
    return decodePage(*page);
}

} // namespace orba
