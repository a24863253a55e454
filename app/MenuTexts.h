#pragma once
// Which language text goes where in the two menus. Portable.

// One popup: its title and its items by position (0 = no text). In the File
// popup the positions are those with no recent file listed.
struct MenuTextRow {
    int title;
    int items[12];
    int count;
};

// The document menu: File, Edit, View, Control, Options, Languages, Help
// (the Languages items are the language names).
extern const MenuTextRow kDocMenuTexts[7];
// The menu shown with no document: File, View, Help.
extern const MenuTextRow kNoDocMenuTexts[3];
// Main toolbar: command, tooltip text number.
struct ToolTipText {
    unsigned id;
    int text;
};
extern const ToolTipText kToolTipTexts[6];
