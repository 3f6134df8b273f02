#include "frontends/commands/DumpNotation.h"

namespace lk::cli {

const char* dumpNotationHelp() {
  return R"notation(The screen is printed after each command: one line per thing shown, from the top of the
screen down; a line indented by two more spaces belongs to the line above it.
  navbar: TITLE  back: [B]  left: [L]  right: [R]
                        the navigation bar with its back button and bar buttons
  section: TITLE        a section of a list; "note: TEXT" is a section's footer
  row S.R               row R of section S of a list (both from 0); only rows on screen are
                        printed ("rows" prints them all, "scroll" moves the list)
                        after it: ">" a disclosure arrow, "(>)" a detail button, "(checked)",
                        "(selected)" a highlighted row
    label: TEXT         a text of the row
    drawn: A | B | <P>  what a drawn cell draws, in the order it draws it (texts and
                        pictures, "|" between them); <P> is a picture by its name, its size
                        ("60x60 bitmap") or "(none)"
  button: [TITLE]       a button; "(selected)" or "(disabled)" after it. "tap TITLE" taps it, a
                        button showing only a picture is tapped by the picture's name
  field: TEXT           a text field, "(PLACEHOLDER)" when empty, "(focused)" while typed into
  textview: TEXT        a text area for several lines, "(empty)" when empty. Inside a row,
                        fields and text areas are tapped by their text, placeholder or the
                        title of their section
  segments: A | [B]     a segmented control, the chosen segment in brackets
  picker: A | B         a picker with the selected row of each wheel, then each wheel:
    wheel C: N rows     its rows numbered from 0, the selected one marked "(selected)"; long
                        wheels show the rows around the selection and count the others.
                        "pick C R" turns wheel C to row R, "done" and "cancel" close it
  toolbar: [A] [B]      a toolbar with its buttons
  alert: TITLE          an alert with its "message:" and "buttons: [A] [B]" ("alert A")
  sheet: TITLE          an action sheet with its buttons ("alert A"); "!" marks a destructive one
  image: NAME           a picture;  spinner: something is loading
  tabbar: A | [B] | C   the tab bar, the selected tab in brackets ("tab N|TITLE")
Before the screen come the lines of what happened meanwhile: "opened: URL" for what was
handed to the system, "briefly shown: TEXT" for a status shown only for a moment.
Texts from the service are printed with control characters escaped ("\n", "\x1B", "\u0085"),
so every line of the print-out is the front end's own.
)notation";
}

}  // namespace lk::cli
