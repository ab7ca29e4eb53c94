#pragma once

#include <optional>
#include <QString>

namespace orba {

// The help page of a window and the number the classic help knows that page by.
struct HelpTopic {
    QString topic;   // a page of the help, "html/setup.htm", perhaps with an anchor ("#email")
    int context = 0; // the same page in the classic help
};

// The help of the window with this objectName, or of one page of its tabs, named
// "window/page" ("TForm1/TabSheet3"); none for a window without help.
std::optional<HelpTopic> helpTopicOf(const QString& id);

// The page a help context number stands for, without anchor; empty for an unknown number.
QString topicOfContext(int context);

} // namespace orba
