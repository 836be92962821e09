// The simulator stands in for the badge reader too, so the demo and a test at the desk need no
// reader: XTest makes the X server believe the keys came from a real keyboard.
#include "Tastenfolge.h"

#include <QByteArray>
#include <QList>

#include <chrono>
#include <memory>
#include <thread>

// After Qt's headers: Xlib defines macros (Bool, Status, None) that Qt's headers also use.
#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

using namespace Qt::Literals::StringLiterals;

namespace {

struct TDisplaySchliessen
{
    void operator()(Display* display) const { XCloseDisplay(display); }
};
using TDisplay = std::unique_ptr<Display, TDisplaySchliessen>;

bool gXFehler = false;

int XFehlerMerken(Display*, XErrorEvent*)
{
    gXFehler = true;
    return 0;
}

// Windows may vanish while we walk the tree; Xlib's own handler would end the simulator then.
class TXFehlerAbfangen
{
public:
    explicit TXFehlerAbfangen(Display* display)
        : FDisplay(display), FVorher(XSetErrorHandler(XFehlerMerken))
    {
        gXFehler = false;
    }
    ~TXFehlerAbfangen()
    {
        XSync(FDisplay, False);
        XSetErrorHandler(FVorher);
    }
    TXFehlerAbfangen(const TXFehlerAbfangen&) = delete;
    TXFehlerAbfangen& operator=(const TXFehlerAbfangen&) = delete;

private:
    Display* FDisplay;
    XErrorHandler FVorher;
};

// Qt writes the title as UTF-8 into _NET_WM_NAME; WM_NAME is the fallback of older toolkits.
QString Fenstertitel(Display* display, Window fenster)
{
    const Atom netWmName = XInternAtom(display, "_NET_WM_NAME", True);
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", True);
    if (netWmName != None && utf8 != None) {
        Atom typ = None;
        int format = 0;
        unsigned long anzahl = 0;
        unsigned long rest = 0;
        unsigned char* daten = nullptr;
        if (XGetWindowProperty(display, fenster, netWmName, 0, 256, False, utf8, &typ, &format,
                               &anzahl, &rest, &daten) == Success &&
            daten) {
            const QString titel = (typ == utf8 && format == 8)
                                      ? QString::fromUtf8(reinterpret_cast<const char*>(daten),
                                                          static_cast<qsizetype>(anzahl))
                                      : QString();
            XFree(daten);
            if (!titel.isEmpty())
                return titel;
        }
    }
    char* name = nullptr;
    if (XFetchName(display, fenster, &name) == 0 || !name)
        return {};
    const QString titel = QString::fromLatin1(name);
    XFree(name);
    return titel;
}

struct TFund
{
    Window fenster = None;
    Window oben = None; // the child of the root that holds it, the window manager's frame
};

// Depth first through the viewable windows; an unmapped window's subtree is never viewable.
void Suchen(Display* display, Window fenster, Window oben, const QString& titel, TFund& fund)
{
    XWindowAttributes attribute{};
    if (XGetWindowAttributes(display, fenster, &attribute) == 0 ||
        attribute.map_state != IsViewable)
        return;
    if (Fenstertitel(display, fenster) == titel) {
        fund = {fenster, oben};
        return;
    }
    Window wurzel = None;
    Window eltern = None;
    Window* kinder = nullptr;
    unsigned int anzahl = 0;
    if (XQueryTree(display, fenster, &wurzel, &eltern, &kinder, &anzahl) == 0)
        return;
    const bool istWurzel = fenster == wurzel;
    // Top of the stacking order first: a stale copy further down loses to the visible one.
    for (unsigned int i = anzahl; i > 0 && fund.fenster == None; --i)
        Suchen(display, kinder[i - 1], istWurzel ? kinder[i - 1] : oben, titel, fund);
    if (kinder)
        XFree(kinder);
}

struct TTaste
{
    KeyCode code = 0;
    bool umschalt = false;
};

} // namespace

bool AlsTastenSenden(const QString& fenstertitel, const QString& text, int abstandMs,
                     QString& fehler)
{
    const TDisplay display(XOpenDisplay(nullptr));
    if (!display) {
        fehler = u"Kein X-Display"_s;
        return false;
    }
    Display* const d = display.get();
    int ereignis = 0;
    int fehlerbasis = 0;
    int haupt = 0;
    int neben = 0;
    if (!XTestQueryExtension(d, &ereignis, &fehlerbasis, &haupt, &neben)) {
        fehler = u"XTest fehlt"_s;
        return false;
    }

    // Every key is looked up first, so an unknown character types nothing at all.
    QList<TTaste> tasten;
    for (const QChar zeichen : text) {
        // Printable ASCII characters are their own keysyms.
        const KeySym symbol = zeichen.unicode();
        const KeyCode code = (symbol >= 0x20 && symbol <= 0x7e) ? XKeysymToKeycode(d, symbol) : 0;
        const bool ohne = code != 0 && XkbKeycodeToKeysym(d, code, 0, 0) == symbol;
        const bool mit = code != 0 && !ohne && XkbKeycodeToKeysym(d, code, 0, 1) == symbol;
        if (!ohne && !mit) {
            fehler = u"Zeichen „%1“ ohne Taste"_s.arg(zeichen);
            return false;
        }
        tasten.append({code, mit});
    }
    const KeyCode umschalt = XKeysymToKeycode(d, XK_Shift_L);
    const KeyCode eingabe = XKeysymToKeycode(d, XK_Return);
    if (eingabe == 0 || umschalt == 0) {
        fehler = u"Tastatur ohne Eingabetaste"_s;
        return false;
    }

    {
        const TXFehlerAbfangen abfangen(d);
        TFund fund;
        Suchen(d, XDefaultRootWindow(d), None, fenstertitel, fund);
        if (fund.fenster == None) {
            fehler = u"Station nicht gefunden"_s;
            return false;
        }
        XRaiseWindow(d, fund.oben != None ? fund.oben : fund.fenster);
        XSetInputFocus(d, fund.fenster, RevertToParent, CurrentTime);
        XSync(d, False);
        Window fokus = None;
        int zurueck = 0;
        XGetInputFocus(d, &fokus, &zurueck);
        if (gXFehler || fokus != fund.fenster) {
            fehler = u"Station nicht fokussierbar"_s;
            return false;
        }
    }

    const auto abstand = std::chrono::milliseconds(abstandMs);
    const auto taste = [&](KeyCode code, bool gedrueckt) {
        XTestFakeKeyEvent(d, code, gedrueckt ? True : False, CurrentTime);
        XFlush(d);
        std::this_thread::sleep_for(abstand);
    };
    tasten.append({eingabe, false});
    for (const TTaste& t : tasten) {
        if (t.umschalt)
            taste(umschalt, true);
        taste(t.code, true);
        taste(t.code, false);
        if (t.umschalt)
            taste(umschalt, false);
    }
    XSync(d, False);
    return true;
}
