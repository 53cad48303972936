// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Routing of numbered commands: a command goes to the view first, then to the document,
// the frame and the application; the first of them that handles it carries it out and
// decides whether it is enabled and checked. A command nobody handles is disabled.
#include <array>
#include <functional>
#include <map>

namespace qv {

struct CommandState {
    bool enabled = true;
    bool checked = false;
};

enum class CommandTarget { View, Document, Frame, Application };

class CommandRouter {
public:
    struct Handler {
        std::function<void()> execute;
        std::function<CommandState()> update;  // empty: always enabled, never checked
    };

    void Add(CommandTarget target, int command, Handler handler);
    // Runs the command if a handler takes it and it is enabled; returns whether it ran.
    bool Execute(int command) const;
    CommandState State(int command) const;
    bool Handles(int command) const { return Find(command) != nullptr; }

private:
    const Handler* Find(int command) const;
    std::array<std::map<int, Handler>, 4> targets_;
};

}  // namespace qv
