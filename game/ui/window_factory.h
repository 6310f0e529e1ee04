#pragma once
// The game's default window factory, installed in the window manager for every window type that
// the registry of window classes does not know, and the refresh of a widget tree's label texts.

namespace pugi {
class xml_document;
}

namespace QRV {
class JC_GUI_OBJECT;
class JC_STRING_TABLE;
}  // namespace QRV

class JCWindow;

using JCFactoryWindowCreator = JCWindow* (*)();

// Adds a window class that the default factory creates by type key. The screens call it once at
// start-up for their classes; a second call with the same key replaces the first. Not for threads.
void RegisterFactoryWindowType(const char* type, JCFactoryWindowCreator create);

// The window of a window file: its first element's "_type" picks the class ("G_WINDOW_EDITBOX",
// "G_WINDOW_SIMPLE" and the types added above), and the new window is loaded from that element and
// placed. Null for an unknown type, or when "_type" or "_name" is missing.
JCWindow* CreateWindowByType(const pugi::xml_document& document);

// Every label of the tree whose text is a key of the table takes the key's text (the same
// replacement as the manager's localisation when it loads a window). Nothing for a null widget
// or a null table.
void RefreshGuiTexts(QRV::JC_GUI_OBJECT* widget, const QRV::JC_STRING_TABLE* table);
