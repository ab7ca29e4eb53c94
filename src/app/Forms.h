#pragma once

namespace orba {

class TForm1;
class Tstat;
class Terwsuch;
class Tsetup;
class Temail;
class Tinfo;
class Tschlag;
class Tnotiz;
class Tbenu;
class Tbenu_neu;
class Tlog;
class Tresdat;
class TForm15;
class Tstart;

// The program's windows, each made once at start-up in this order and kept until the end.
struct Forms {
    TForm1* form1 = nullptr;
    Tstat* stat = nullptr;
    Terwsuch* erwsuch = nullptr;
    Tsetup* setup = nullptr;
    Temail* email = nullptr;
    Tinfo* info = nullptr;
    Tschlag* schlag = nullptr;
    Tnotiz* notiz = nullptr;
    Tbenu* benu = nullptr;
    Tbenu_neu* benuNeu = nullptr;
    Tlog* log = nullptr;
    Tresdat* resdat = nullptr;
    TForm15* form15 = nullptr;
    Tstart* start = nullptr;
};

} // namespace orba
