// The demo form's layout as plain data: every control and frame line in twips, as the
// form was designed, plus the conversion to pixels at the screen's real resolution.
#pragma once
#include <stddef.h>

enum ControlKind { kindButton, kindCheckBox, kindLabel, kindClickLabel, kindScrollBar, kindPicture };
enum ControlFont { fontForm, fontBold12, fontBold135 };
enum ControlColour { colourText, colourActiveCaption, colourHighlight };
// How a caption is laid out: as the control does by default (a button's lines centred, a
// label's broken between words), in left-aligned lines, or on one line cut at the edge.
enum ControlText { textDefault, textLeftLines, textOneLine };

struct ControlDesign {
    int id;
    const char *name;
    ControlKind kind;
    const char *caption;
    int left, top, width, height;  // twips inside the client area
    bool enabled;
    ControlFont font;
    ControlColour colour;
};

struct LineDesign {
    int x1, y1, x2, y2;  // twips
};

// Client area of the form, twips.
enum { formClientWidth = 10695, formClientHeight = 8100 };

// Controls in creation order, which is also the keyboard (tab) order of those that
// take the focus; labels follow them.
extern const ControlDesign formControls[];
extern const size_t formControlCount;
// The four lines framing the display-mode group.
extern const LineDesign formLines[];
extern const size_t formLineCount;

const ControlDesign *findControl(int id);
// How control `id` lays out its caption (textDefault for most).
ControlText captionLayout(int id);
bool takesFocus(ControlKind kind);

// Twips to pixels at `dpi` dots per inch, rounded to nearest; a zero or negative dpi
// (no screen to ask) counts as the usual 96.
int twipsToPixels(int twips, int dpi);
