#pragma once

#include <QWidget>

class QTextBrowser;

namespace orba {

class SettingsFile;

// The information window: the organisation's formatted "info.rtf", read-only, not modal. The text
// is read once when the window is made; size and place come from the settings at every showing.
class Tinfo : public QWidget {
    Q_OBJECT
public:
    Tinfo(QWidget* parent, SettingsFile& settings);
    // Reads "info.rtf" again after an update brought a new one.
    void reload();

    // Controls, named as the window definition names them.
    QTextBrowser* RxRichEdit1;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate();
    void FormShow();

    SettingsFile& m_settings;
};

} // namespace orba
