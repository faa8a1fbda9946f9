// dashcfg: the dash cam settings card from the command line, for scripts, fleets and PCs
// without Windows. It reads and writes the card through the same core as the settings window.

#include <exception>
#include <iostream>

#include <CLI/CLI.hpp>

#include "cli/Commands.h"
#include "cli/Console.h"
#include "cli/ExitCodes.h"
#include "cli/SettingValues.h"

namespace {

constexpr const char* EXIT_CODE_HELP = R"(Exit codes:
  0   done (check: no problems; diff: the records are the same)
  1   diff: the records differ
  2   a wrong argument, field, value or profile: nothing was changed
  3   a card folder or card file is missing or cannot be read
  4   a card file cannot be written, or reads back differently
  7   a save to the card was cut short: run `dashcfg recover CARD` first (or --force)
  check: the sum of the kinds found: 8 files, 16 sizes, 32 values, 64 languages
  apply: 64 plus a bit per failed card: 1 first, 2 second, 4 third, 8 fourth, 16 fifth,
         32 any later card)";

constexpr const char* FORCE_HELP =
    "write even though a save to the card was cut short (see recover), or no safety copy can be kept on this PC";

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
    bool json = false;
    bool dryRun = false;
    bool clear = false;
    bool force = false;
};

}  // namespace

int main(int argc, char** argv) {
    PrepareConsole();
    const std::vector<std::string> arguments = CommandLineArguments(argc, argv);

    CLI::App app{"Reads and edits the settings on a dash cam's memory card, as the settings window does."};
    app.name("dashcfg");
    app.footer(EXIT_CODE_HELP);
    app.set_version_flag("--version", std::string("dashcfg ") + DCS_VERSION, "Print the version and exit");
    app.require_subcommand(1, 1);
    Arguments args;

    CLI::App* show = app.add_subcommand("show", "Show the card's settings as the pages show them, with warnings");
    show->add_option("CARD", args.card, "card folder (holding setup.cfg)")->required();
    show->add_flag("--json", args.json, "JSON with the field names of the record layout, for scripts");

    CLI::App* set =
        app.add_subcommand("set", "Change settings by field name and save them as the window's Save does");
    set->add_option("CARD", args.card, "card folder")->required();
    set->add_option("FIELD=VALUE", args.list,
                    "a field as named in the record and a value the window can write: the stored number or the "
                    "text the page shows (parking_timer_hours=24, low_voltage_12v=11.9, partition_type=B, "
                    "language_index=ko, time_zone_bias=UTC+09:00)")
        ->required();
    set->add_flag("--force", args.force, FORCE_HELP);
    set->footer(FieldHelp());

    CLI::App* exportProfile =
        app.add_subcommand("export", "Print the card's settings profile (JSON) to standard output");
    exportProfile->add_option("CARD", args.card, "card folder")->required();

    CLI::App* apply = app.add_subcommand("apply", "Apply a settings profile to one or more cards");
    apply->add_option("PROFILE", args.second, "profile file made by export (- reads standard input)")->required();
    apply->add_option("CARD", args.list, "card folders")->required();
    apply->add_flag("--dry-run", args.dryRun, "print per card what would change, write nothing");
    apply->add_flag("--force", args.force, FORCE_HELP);

    CLI::App* diff = app.add_subcommand("diff", "Show the fields in which two settings records differ");
    diff->add_option("A", args.card, "settings file, or a card folder for its setup.cfg")->required();
    diff->add_option("B", args.second, "settings file, or a card folder for its setup.cfg")->required();

    CLI::App* reset =
        app.add_subcommand("reset", "Restore default.cfg into setup.cfg, keeping the four device fields");
    reset->add_option("CARD", args.card, "card folder")->required();
    reset->add_flag("--force", args.force, FORCE_HELP);

    CLI::App* clock =
        app.add_subcommand("clock", "Write time.dat, from which the camera sets its clock, or delete it");
    clock->add_option("CARD", args.card, "card folder")->required();
    CLI::Option* at =
        clock->add_option("--at", args.at, "the date and time to write, \"YYYY-MM-DD hh:mm:ss\" (default: now)");
    clock->add_flag("--clear", args.clear, "delete time.dat instead")->excludes(at);
    clock->add_flag("--force", args.force, FORCE_HELP);

    CLI::App* recover = app.add_subcommand(
        "recover", "Put back the settings from before a save that was cut short (the card pulled mid-save)");
    recover->add_option("CARD", args.card, "card folder")->required();
    recover->add_flag("--json", args.json, "the facts as JSON, for scripts");
    recover->add_flag("--force", args.force, "put them back even when the card has been written since");

    CLI::App* check = app.add_subcommand("check", "Check the card's files, sizes, languages and values");
    check->add_option("CARD", args.card, "card folder")->required();

    std::vector<const char*> argvUtf8;
    for (const std::string& argument : arguments) argvUtf8.push_back(argument.c_str());
    try {
        app.parse(static_cast<int>(argvUtf8.size()), argvUtf8.data());
    } catch (const CLI::ParseError& error) {
        const int code = app.exit(error);
        return code == 0 ? 0 : static_cast<int>(ExitCode::Usage);
    }

    try {
        if (show->parsed()) return RunShow(args.card, args.json);
        if (set->parsed()) return RunSet(args.card, args.list, args.force);
        if (exportProfile->parsed()) return RunExport(args.card);
        if (apply->parsed()) return RunApply(args.second, args.list, args.dryRun, args.force);
        if (diff->parsed()) return RunDiff(args.card, args.second);
        if (reset->parsed()) return RunReset(args.card, args.force);
        if (clock->parsed()) return RunClock(args.card, args.at, args.clear, args.force);
        if (recover->parsed()) return RunRecover(args.card, args.json, args.force);
        if (check->parsed()) return RunCheck(args.card);
    } catch (const std::exception& error) {
        std::cerr << "dashcfg: " << error.what() << "\n";
        return static_cast<int>(ExitCode::Unreadable);
    }
    return static_cast<int>(ExitCode::Usage);
}
