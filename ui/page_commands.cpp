// Each command of the table as a native function of the page's "game" object.
#include "ui/page_commands.hpp"

#include <functional>

namespace nj {

int bindPageCommands(const ApiContext& context, GameCommandTarget& target) {
    context.api->setConstantString("version", "2.0");
    int bound = 0;
    for (const PageCommand& command : pageCommands()) {
        ParamSpec spec{};
        const auto run = command.run;
        bool ok = false;
        if (command.textArgument) {
            spec.names[0] = command.textArgument;
            spec.count = 1;
            spec.text = true;
            const auto runText = command.runText;
            ok = bindFunction(
                context, command.name, &target, spec,
                std::function<void(const std::string&)>(
                    [&target, runText](const std::string& text) { runText(target, text); }));
        } else if (command.numberArgument) {
            spec.names[0] = command.numberArgument;
            spec.count = 1;
            ok = bindFunction(
                context, command.name, &target, spec,
                std::function<void(double)>([&target, run](double value) { run(target, value); }));
        } else {
            ok = bindFunction(context, command.name, &target, spec,
                              std::function<void()>([&target, run] { run(target, 0.0); }));
        }
        bound += ok ? 1 : 0;
    }
    return bound;
}

}  // namespace nj
