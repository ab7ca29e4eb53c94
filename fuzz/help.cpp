// The compiled help file "orbaw.chm" as the help window reads it through chmlib. Whatever the
// file holds, no header makes chmlib allocate more than a help file needs (the run's malloc
// limit stops any allocation beyond 2 GiB) and the window shows what it could read.
#include "FuzzSupport.h"
#include "platform/HelpViewer.h"
#include "settings/HelpTopics.h"

using namespace orba;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Never destroyed, as the application it needs is not.
    static HelpViewer& viewer = *new HelpViewer(nullptr, QStringLiteral("orbaw.chm"));
    fuzz::writeFile(QStringLiteral("orbaw.chm"), fuzz::bytes(data, size));
    viewer.showTopic(QStringLiteral("html/setup.htm"));
    viewer.showContents();
    viewer.showContext(518, topicOfContext(518));
    return 0;
}
