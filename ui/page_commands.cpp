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
        if (command.numberArgument) {
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
