// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's commands: menu entries in their popups, keys, toolbar buttons and
// the texts of the status bar and tool tips. Keys use portable names ("Ctrl+N").
#include <string>
#include <vector>

namespace qv {

struct CommandInfo {
    int id = 0;
    std::string menuText;           // as shown, with "&" marks and "\t" before the key label
    std::vector<std::string> keys;  // every key that runs the command, first = main key
    std::string prompt;             // status-bar text, then "\n" and the tool tip
    std::string iconName;           // desktop icon theme name for the toolbar and menu
};

// A popup entry: a command, a separator, or the place of the recent-file list.
struct MainMenuEntry {
    enum Kind { Command, Separator, RecentFiles } kind = Command;
    int id = 0;
    std::string text;  // the entry's own text where it differs from the command's menu text
};

struct MenuPopup {
    std::string title;
    std::vector<MainMenuEntry> entries;
};

inline constexpr int kFirstRecentFileCommand = 57616;
inline constexpr int kLastRecentFileCommand = 57631;

const std::vector<MenuPopup>& MainMenu();
// Toolbar buttons in order; 0 stands for a gap.
const std::vector<int>& ToolbarLayout();
// Commands reached by key only (no menu entry).
const std::vector<int>& KeyOnlyCommands();
const CommandInfo* FindCommand(int id);
// The status-bar part of a prompt, and its tool-tip part (empty when there is none).
std::string StatusTextOf(const CommandInfo& info);
std::string ToolTipOf(const CommandInfo& info);

}  // namespace qv
