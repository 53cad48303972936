// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Handlers of menu, key and toolbar commands, by command number. The main frame owns the
// menus; each subsystem's ui/ folder registers the handlers of its own commands with
// QV_GUI_COMMAND in one of its .cpp files. A command without a handler is shown disabled.
#include <functional>
#include <map>

#include "shell/CommandRouter.h"

namespace qv {

struct AppContext;

struct CommandHandler {
    std::function<void(AppContext&)> execute;
    // Enabled and checked state; absent means always enabled and never checked.
    std::function<CommandState(AppContext&)> update;
};

std::map<int, CommandHandler>& RegisteredCommands();

struct CommandRegistrar {
    CommandRegistrar(int command, std::function<void(AppContext&)> execute,
                     std::function<CommandState(AppContext&)> update = nullptr)
    {
        RegisteredCommands()[command] = CommandHandler{std::move(execute), std::move(update)};
    }
};

}  // namespace qv

#define QV_GUI_CONCAT_INNER(a, b) a##b
#define QV_GUI_CONCAT(a, b) QV_GUI_CONCAT_INNER(a, b)
// QV_GUI_COMMAND(32799, execute) or QV_GUI_COMMAND(32799, execute, update)
#define QV_GUI_COMMAND(command, ...) \
    static ::qv::CommandRegistrar QV_GUI_CONCAT(qvGuiCommand, __LINE__)(command, __VA_ARGS__)
