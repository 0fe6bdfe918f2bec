#include "CtlCommandLine.h"

#include "CtlExitCodes.h"
#include "NearestWord.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <vector>

namespace ctl {

namespace {

struct CommandSpec {
    CommandKind kind;
    std::size_t arguments;  // words after the command, options not counted
};

const std::map<std::string_view, CommandSpec> kCommands{
    {"list", {CommandKind::List, 0}},   {"status", {CommandKind::Status, 0}}, {"effect", {CommandKind::Effect, 1}},
    {"led", {CommandKind::Led, 2}},     {"apply", {CommandKind::Apply, 1}},   {"save", {CommandKind::Save, 1}},
};

ParsedCommandLine Fail(int code, std::string error, bool json) {
    ParsedCommandLine parsed;
    parsed.exitCode = code;
    parsed.error = std::move(error);
    parsed.json = json;
    return parsed;
}

std::optional<int> Level(std::string_view text, int highest) {
    int value = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 0 || value > highest) return std::nullopt;
    return value;
}

}  // namespace

ParsedCommandLine ParseCommandLine(std::span<const std::string_view> words) {
    const bool json = std::find(words.begin(), words.end(), "--json") != words.end();
    for (const auto& [word, kind] : {std::pair{"--help", CommandKind::Help}, std::pair{"-h", CommandKind::Help},
                                     std::pair{"--version", CommandKind::Version}}) {
        if (std::find(words.begin(), words.end(), word) == words.end()) continue;
        ParsedCommandLine parsed;
        parsed.command = CtlCommand{kind, json, {}, 0, 0, {}};
        parsed.json = json;
        return parsed;
    }

    std::vector<std::string_view> arguments;
    std::map<std::string_view, std::string_view> options;  // "--color" -> value
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string_view word = words[i];
        if (word == "--json") continue;
        if (!word.starts_with("--")) {
            arguments.push_back(word);
            continue;
        }
        std::string_view name = word;
        std::string_view value;
        if (const auto equals = word.find('='); equals != std::string_view::npos) {
            name = word.substr(0, equals);
            value = word.substr(equals + 1);
        } else if (name == "--color" || name == "--colour" || name == "--speed" || name == "--brightness") {
            if (i + 1 == words.size()) return Fail(kExitUsage, std::string(name) + " needs a value", json);
            value = words[++i];
        }
        if (name == "--colour") name = "--color";
        if (name != "--color" && name != "--speed" && name != "--brightness")
            return Fail(kExitUsage, "unknown option " + std::string(word), json);
        if (options.count(name)) return Fail(kExitUsage, std::string(name) + " given twice", json);
        options[name] = value;
    }
    if (arguments.empty()) return Fail(kExitUsage, "no command given (list, status, effect, led, apply, save)", json);

    const auto known = kCommands.find(arguments.front());
    if (known == kCommands.end()) {
        std::vector<std::string_view> names;
        for (const auto& entry : kCommands) names.push_back(entry.first);
        const std::string_view nearest = NearestWord(arguments.front(), names);
        return Fail(kExitUsage,
                    "unknown command " + std::string(arguments.front()) +
                        (nearest.empty() ? std::string() : " (did you mean " + std::string(nearest) + "?)"),
                    json);
    }
    const std::string commandName(arguments.front());
    arguments.erase(arguments.begin());
    if (arguments.size() != known->second.arguments)
        return Fail(kExitUsage,
                    commandName + " takes " + std::to_string(known->second.arguments) + " argument" +
                        (known->second.arguments == 1 ? "" : "s") + ", not " + std::to_string(arguments.size()),
                    json);
    if (known->second.kind != CommandKind::Effect && !options.empty())
        return Fail(kExitUsage, std::string(options.begin()->first) + " belongs to the effect command", json);

    CtlCommand command;
    command.kind = known->second.kind;
    command.json = json;
    switch (command.kind) {
    case CommandKind::Effect: {
        command.effect.effect = FindEffect(arguments[0]);
        if (!command.effect.effect) {
            const EffectDescription* nearest = NearestEffect(arguments[0]);
            return Fail(kExitInvalidValue,
                        "unknown effect " + std::string(arguments[0]) +
                            (nearest ? " (did you mean " + QuotedCaption(*nearest) + "?)"
                                     : " (effects: " + EffectNames() + ")"),
                        json);
        }
        if (options.count("--color")) {
            command.effect.color = ParseColor(options["--color"]);
            if (!command.effect.color)
                return Fail(kExitInvalidValue,
                            "colour " + std::string(options["--color"]) + " is not RRGGBB (six hexadecimal digits)", json);
        }
        if (options.count("--speed")) {
            command.effect.speed = Level(options["--speed"], kMaxSpeed);
            if (!command.effect.speed)
                return Fail(kExitInvalidValue, "speed " + std::string(options["--speed"]) + " is not 0-4", json);
        }
        if (options.count("--brightness")) {
            command.effect.brightness = Level(options["--brightness"], kMaxBrightness);
            if (!command.effect.brightness)
                return Fail(kExitInvalidValue, "brightness " + std::string(options["--brightness"]) + " is not 0-2",
                            json);
        }
        if (const std::string wrong = CheckEffectChoice(command.effect); !wrong.empty())
            return Fail(kExitInvalidValue, wrong, json);
        break;
    }
    case CommandKind::Led: {
        const auto led = Level(arguments[0], kLedCount);
        if (!led || *led < 1) return Fail(kExitInvalidValue, "LED " + std::string(arguments[0]) + " is not 1-4", json);
        const auto color = ParseColor(arguments[1]);
        if (!color)
            return Fail(kExitInvalidValue,
                        "colour " + std::string(arguments[1]) + " is not RRGGBB (six hexadecimal digits)", json);
        command.led = *led;
        command.ledColor = *color;
        break;
    }
    case CommandKind::Apply:
    case CommandKind::Save: command.file = std::string(arguments[0]); break;
    default: break;
    }
    ParsedCommandLine parsed;
    parsed.command = std::move(command);
    parsed.json = json;
    return parsed;
}

void WriteHelp(std::FILE* out) {
    std::fputs(
        "Usage: halcyractl [--json] COMMAND [ARGUMENTS]\n"
        "Controls the lighting controller from the command line.\n"
        "\n"
        "Commands:\n"
        "  list                       the controllers: mode (application or boot loader), firmware\n"
        "                             version, path on the bus\n"
        "  status                     the controller's firmware, current profile, and the shown effect\n"
        "                             with its colours, speed and brightness\n"
        "  effect NAME [--color RRGGBB] [--speed 0-4] [--brightness 0-2]\n"
        "                             shows effect NAME and stores it in the controller; NAME is one of\n"
        "                             STATIC, CUSTOMIZE, STAR_EFFECT, COLOR_CYCLE, BREATH, MULTILAYER, OFF\n"
        "                             or its caption (Static, Per LED, Stars, Colour cycle, Breathing,\n"
        "                             Layers, Off), in any case; speed 0 is the fastest, brightness 2 the\n"
        "                             brightest\n"
        "  led N RRGGBB               colours LED N (1-4) in the per-LED effect (CUSTOMIZE) and shows it\n"
        "  apply PROFILE.Prf          writes the lighting of a profile file into the controller and stores it\n"
        "  save PROFILE.Prf           reads the controller's lighting into a profile file\n"
        "\n"
        "Options:\n"
        "  --json                     answers (and errors) as one JSON object on standard output\n"
        "  -h, --help                 this help\n"
        "  --version                  the program's version\n"
        "\n"
        "Exit codes: 0 done; 1 the controller did not answer; 2 usage error; 3 invalid value (unknown\n"
        "effect, colour, speed, brightness or LED out of range); 4 profile file unreadable or unwritable;\n"
        "5 no controller; 6 a controller was found but access was denied; 7 the configuration program or\n"
        "the firmware updater is running; 8 the controller is in its boot loader.\n",
        out);
}

}  // namespace ctl
