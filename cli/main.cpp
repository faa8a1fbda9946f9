// dashcfg: the dash cam settings card from the command line, for scripts, fleets and PCs
// without Windows. It reads and writes the card through the same core as the settings window.

#include <cstdio>
#include <exception>
#include <iostream>

#include <CLI/CLI.hpp>

#include "cli/Commands.h"
#include "cli/Console.h"
#include "cli/ExitCodes.h"
#include "cli/HelpText.h"
#include "cli/SettingValues.h"

namespace {

constexpr const char* EXIT_CODE_HELP = R"(Exit codes:
  0    done (check: no problems; diff: the records are the same)
  1    diff: the records differ
  2    a wrong command, option, argument, field, value or profile: nothing was changed
  3    a card folder or card file is missing or cannot be read
  4    a card file cannot be written, or reads back differently
  5    standard output could not be written (a closed pipe, a full disk); the command's work was done (a command that failed otherwise keeps its own code)
  6    a damaged setup.cfg or default.cfg, refused without --force: nothing was changed
  7    a save to the card was cut short: nothing was changed; run `dashcfg recover CARD` first (or --force)
  check: the sum of the kinds found on all its cards: 8 files, 16 sizes, 32 values, 64 languages, plus 3 when a card folder is missing
  apply: 64 plus a bit per kind of failure among its cards, for any number of cards: 1 a value a card does not take, 2 a card or file unreadable, 4 a card not written, 8 a damaged record, 16 a card with a save cut short; each failed card is named on standard error)";

#ifdef _WIN32
constexpr const char* CARD = "E:\\";
constexpr const char* CARD2 = "F:\\";
constexpr const char* CARD3 = "G:\\";
#else
constexpr const char* CARD = "/media/card";
constexpr const char* CARD2 = "/media/card2";
constexpr const char* CARD3 = "/media/card3";
#endif

std::string Examples(std::initializer_list<std::string> lines) {
    std::string text = "Examples:";
    for (const std::string& line : lines) text += "\n  " + line;
    return text;
}

std::string C(const char* card) { return card; }

// The fields that set and profiles take, each with the values the window can write.
std::string FieldHelp() {
    std::string help = "Fields and the values the window can write:";
    for (const SettingField& field : SETTING_FIELDS) {
        help += std::string("\n  ") + field.name + ": " + AllowedValuesText(field);
    }
    return help;
}

struct Arguments {
    std::string card;
    std::string second;
    std::vector<std::string> list;
    std::optional<std::string> at;
    std::string repeated = "first";
    bool json = false;
    bool clear = false;
    bool exportForce = false;
    WriteOptions write;
};

void PrintHelp(const CLI::App& command) {
    std::string text = command.help();
    // A command's usage line names the program too, as it is typed.
    const std::string usage = "Usage: " + command.get_name() + " ";
    if (command.get_parent() != nullptr) {
        if (const size_t at = text.find(usage); at != std::string::npos) text.insert(at + 7, "dashcfg ");
    }
    std::cout << WrapHelp(text, TerminalWidth());
}

std::vector<std::string> CommandNames(const CLI::App& app) {
    std::vector<std::string> names;
    for (const CLI::App* command : app.get_subcommands([](const CLI::App*) { return true; })) {
        names.push_back(command->get_name());
    }
    names.push_back("help");
    return names;
}

std::vector<std::string> OptionNames(const CLI::App& command) {
    std::vector<std::string> names;
    for (const CLI::Option* option : command.get_options()) {
        for (const std::string& name : option->get_lnames()) names.push_back("--" + name);
        for (const std::string& name : option->get_snames()) names.push_back("-" + name);
    }
    return names;
}

int UsageError(const std::string& text) {
    std::cerr << "dashcfg: " << text << "\n";
    return static_cast<int>(ExitCode::Usage);
}

// An argument error of a command: an unknown option with the nearest valid one, otherwise the
// parser's own words, and where to read more.
int CommandUsageError(const CLI::App& command, const std::vector<std::string>& arguments, const CLI::ParseError& error) {
    const std::vector<std::string> options = OptionNames(command);
    for (size_t i = 2; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--") break;
        if (argument.size() < 2 || argument[0] != '-' || (argument[1] >= '0' && argument[1] <= '9')) continue;
        const std::string name = argument.substr(0, argument.find('='));
        if (std::find(options.begin(), options.end(), name) != options.end()) continue;
        return UsageError(command.get_name() + ": unknown option " + name + DidYouMean(name, options) +
                          "; `dashcfg help " + command.get_name() + "` lists its options");
    }
    return UsageError(command.get_name() + ": " + error.what() + "; `dashcfg help " + command.get_name() +
                      "` explains it");
}

int Run(const std::vector<std::string>& arguments) {
    CLI::App app{"Reads and edits the settings on a dash cam's memory card, as the settings window does."};
    app.name("dashcfg");
    app.footer(std::string("Run `dashcfg help COMMAND` for a command's options and examples.\n\n") + EXIT_CODE_HELP);
    app.set_version_flag("--version", std::string("dashcfg ") + DCS_VERSION, "Print the version and exit");
    app.require_subcommand(1, 1);
    Arguments args;

    CLI::App* show = app.add_subcommand("show", "Show the card's settings as the pages show them, with warnings");
    show->add_option("CARD", args.card, "card folder (holding setup.cfg)")->required();
    show->add_flag("--json", args.json, "JSON with the field names of the record layout, for scripts");
    show->footer(Examples({"dashcfg show " + C(CARD), "dashcfg show --json " + C(CARD) + " > settings.json"}));

    CLI::App* set =
        app.add_subcommand("set", "Change settings by field name and save them as the window's Save does");
    set->add_option("CARD", args.card, "card folder")->required();
    set->add_option("FIELD=VALUE", args.list,
                    "a field as named in the record and a value the window can write: the stored number or the "
                    "text the page shows (parking_timer_hours=24, low_voltage_12v=11.9, partition_type=B, "
                    "language_index=ko, time_zone_bias=UTC+09:00)")
        ->required();
    AddWriteOptions(*set, args.write);
    AddJsonFlag(*set, args.json);
    set->footer(Examples({"dashcfg set " + C(CARD) + " parking_timer_hours=24 low_voltage_12v=11.9",
                          "dashcfg set --dry-run " + C(CARD) + " language_index=ko partition_type=B",
                          "dashcfg set " + C(CARD) + " \"time_zone_name=Tokyo Standard Time\" time_zone_bias=540"}) +
                "\n\n" + FieldHelp());

    CLI::App* exportProfile =
        app.add_subcommand("export", "Print the card's settings profile (JSON) to standard output");
    exportProfile->add_option("CARD", args.card, "card folder")->required();
    exportProfile->add_flag("--force", args.exportForce,
                            "export from a damaged setup.cfg (shorter than 544 bytes or than its record_size, or "
                            "a layout version other than 1.2), which is refused otherwise");
    AddJsonFlag(*exportProfile, args.json);
    exportProfile->footer("The profile carries the language by its code (\"language\": \"ko\"), never the device "
                          "fields or the model name. --json changes nothing: the profile is JSON.\n\n" +
                          Examples({"dashcfg export " + C(CARD) + " > fleet.json"}));

    CLI::App* apply = app.add_subcommand("apply", "Apply a settings profile to one or more cards");
    apply->add_option("PROFILE", args.second, "profile file made by export (- reads standard input)")->required();
    apply->add_option("CARD", args.list, "card folders")->required();
    AddWriteOptions(*apply, args.write);
    AddJsonFlag(*apply, args.json);
    apply->footer("Each card's result goes to standard output, each failed card's reason to standard error in "
                  "one line, and a summary line follows; the exit code says which kinds of failure occurred.\n\n" +
                  Examples({"dashcfg apply --dry-run fleet.json " + C(CARD2) + " " + C(CARD3),
                            "dashcfg apply fleet.json " + C(CARD2) + " " + C(CARD3),
                            "dashcfg apply --json fleet.json " + C(CARD2) + " > results.json"}));

    CLI::App* diff = app.add_subcommand("diff", "Show the fields in which two settings records differ");
    diff->add_option("A", args.card, "settings file, or a card folder for its setup.cfg")->required();
    diff->add_option("B", args.second, "settings file, or a card folder for its setup.cfg")->required();
    AddJsonFlag(*diff, args.json);
    diff->footer(Examples({"dashcfg diff " + C(CARD) + " " + C(CARD2), "dashcfg diff " + C(CARD) + "setup.cfg " +
                                                                           C(CARD) + "default.cfg"}));

    CLI::App* reset =
        app.add_subcommand("reset", "Restore default.cfg into setup.cfg, keeping the four device fields");
    reset->add_option("CARD", args.card, "card folder")->required();
    AddWriteOptions(*reset, args.write);
    AddJsonFlag(*reset, args.json);
    reset->footer(Examples({"dashcfg reset --dry-run " + C(CARD), "dashcfg reset " + C(CARD)}));

    CLI::App* clock =
        app.add_subcommand("clock", "Write time.dat, from which the camera sets its clock, or delete it");
    clock->add_option("CARD", args.card, "card folder")->required();
    CLI::Option* at = clock->add_option(
        "--at", args.at,
        "the date and time to write: now (the default), \"YYYY-MM-DD hh:mm:ss\" in the PC's time zone, or ISO 8601 "
        "with an offset (2024-05-06T13:45:07+09:00); the years " +
            std::to_string(CLOCK_YEAR_MIN) + " to " + std::to_string(CLOCK_YEAR_MAX));
    clock->add_option("--repeated", args.repeated,
                      "which of the two a local time means that occurs twice (when daylight saving time ends): "
                      "first (the default) or second")
        ->check(CLI::IsMember({"first", "second"}));
    clock->add_flag("--clear", args.clear, "delete time.dat instead")->excludes(at);
    AddWriteOptions(*clock, args.write);
    AddJsonFlag(*clock, args.json);
    clock->footer("A local time that the PC's time zone skips (daylight saving time begins) is refused.\n\n" +
                  Examples({"dashcfg clock " + C(CARD), "dashcfg clock " + C(CARD) + " --at \"2024-05-06 13:45:07\"",
                            "dashcfg clock " + C(CARD) + " --at 2024-10-27T02:30:00+01:00",
                            "dashcfg clock " + C(CARD) + " --at \"2024-10-27 02:30:00\" --repeated second",
                            "dashcfg clock " + C(CARD) + " --clear"}));

    CLI::App* check = app.add_subcommand("check", "Check the cards' files, sizes, languages and values");
    check->add_option("CARD", args.list, "card folders")->required();
    AddJsonFlag(*check, args.json);
    check->footer(Examples({"dashcfg check " + C(CARD), "dashcfg check --json " + C(CARD2) + " " + C(CARD3)}));

    CLI::App* recover = app.add_subcommand(
        "recover", "Put back the settings from before a save to the card that was cut short (the card pulled)");
    recover->add_option("CARD", args.card, "card folder")->required();
    recover->add_flag("--force", args.write.force,
                      "put them back even when the card has been written by someone else since");
    AddJsonFlag(*recover, args.json);
    recover->footer("The settings from before are kept on this PC while a save runs; every command says when a "
                    "save to the card was cut short, and the commands that write refuse the card (exit code 7) "
                    "until recover has put them back: the file's start, length and tail as they were, read back "
                    "and compared.\n\n" +
                    Examples({"dashcfg recover " + C(CARD), "dashcfg recover --json " + C(CARD)}));

    // What the parser would only call "a subcommand is required": no arguments, help, and
    // unknown commands and options, each answered in its own words.
    const std::vector<std::string> commands = CommandNames(app);
    if (arguments.size() < 2) {
        PrintHelp(app);
        return static_cast<int>(ExitCode::Usage);
    }
    const std::string& first = arguments[1];
    if (first == "help") {
        if (arguments.size() == 2) {
            PrintHelp(app);
            return static_cast<int>(ExitCode::Ok);
        }
        for (CLI::App* command : app.get_subcommands([](const CLI::App*) { return true; })) {
            if (command->get_name() == arguments[2]) {
                PrintHelp(*command);
                return static_cast<int>(ExitCode::Ok);
            }
        }
        return UsageError("help: unknown command \"" + arguments[2] + "\"" + DidYouMean(arguments[2], commands) +
                          "; `dashcfg help` lists the commands");
    }
    if (!first.empty() && first[0] == '-' && first != "--help" && first != "-h" && first != "--version") {
        return UsageError("unknown option " + first + DidYouMean(first, {"--help", "--version"}) +
                          "; options follow a command (`dashcfg help` lists the commands)");
    }
    if (first[0] != '-' && std::find(commands.begin(), commands.end(), first) == commands.end()) {
        return UsageError("unknown command \"" + first + "\"" + DidYouMean(first, commands) +
                          "; `dashcfg help` lists the commands");
    }

    std::vector<const char*> argvUtf8;
    for (const std::string& argument : arguments) argvUtf8.push_back(argument.c_str());
    try {
        app.parse(static_cast<int>(argvUtf8.size()), argvUtf8.data());
    } catch (const CLI::CallForHelp&) {
        const std::vector<CLI::App*> parsed = app.get_subcommands();
        PrintHelp(parsed.empty() ? app : *parsed.front());
        return static_cast<int>(ExitCode::Ok);
    } catch (const CLI::CallForVersion&) {
        std::cout << "dashcfg " << DCS_VERSION << "\n";
        return static_cast<int>(ExitCode::Ok);
    } catch (const CLI::ParseError& error) {
        const std::vector<CLI::App*> parsed = app.get_subcommands();
        if (!parsed.empty()) return CommandUsageError(*parsed.front(), arguments, error);
        return UsageError(std::string(error.what()) + "; `dashcfg help` lists the commands");
    }

    const RepeatedTime repeated = args.repeated == "second" ? RepeatedTime::Second : RepeatedTime::First;
    if (show->parsed()) return RunShow(args.card, args.json);
    if (set->parsed()) return RunSet(args.card, args.list, args.write, args.json);
    if (exportProfile->parsed()) return RunExport(args.card, args.exportForce);
    if (apply->parsed()) return RunApply(args.second, args.list, args.write, args.json);
    if (diff->parsed()) return RunDiff(args.card, args.second, args.json);
    if (reset->parsed()) return RunReset(args.card, args.write, args.json);
    if (clock->parsed()) return RunClock(args.card, args.at, args.clear, repeated, args.write, args.json);
    if (check->parsed()) return RunCheck(args.list, args.json);
    if (recover->parsed()) return RunRecover(args.card, args.json, args.write.force);
    return static_cast<int>(ExitCode::Usage);
}

// A closed pipe or a full disk on standard output: the output was lost, which a script must
// hear of, so the program never ends with 0 then.
bool OutputWasWritten() {
    std::cout.flush();
    const bool ok = static_cast<bool>(std::cout) && std::fflush(stdout) == 0 && !std::ferror(stdout);
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    PrepareConsole();
    int code = static_cast<int>(ExitCode::Unreadable);
    try {
        code = Run(CommandLineArguments(argc, argv));
    } catch (const std::exception& error) {
        std::cerr << "dashcfg: " << error.what() << "\n";
    }
    if (!OutputWasWritten()) {
        std::cerr << "dashcfg: standard output could not be written (a closed pipe or a full disk); the output is "
                     "incomplete\n";
        if (code == static_cast<int>(ExitCode::Ok) || code == static_cast<int>(ExitCode::Differences)) {
            code = static_cast<int>(ExitCode::OutputFailed);
        }
    }
    return code;
}
