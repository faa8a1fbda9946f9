# fish completion for dashcfg: its commands, each command's options, the fields that set takes,
# and folders or files for the rest.

set -l commands show set export apply diff reset clock check recover help
complete -c dashcfg -f
complete -c dashcfg -n "not __fish_seen_subcommand_from $commands" -a show -d 'Show the settings as the pages show them'
complete -c dashcfg -n "not __fish_seen_subcommand_from $commands" -a set -d 'Change settings by field name'
complete -c dashcfg -n "not __fish_seen_subcommand_from $commands" -a export -d 'Print the settings profile (JSON)'
complete -c dashcfg -n "not __fish_seen_subcommand_from $commands" -a apply -d 'Apply a profile to cards'
complete -c dashcfg -n "not __fish_seen_subcommand_from $commands" -a diff -d 'Show how two records differ'
complete -c dashcfg -n "not __fish_seen_subcommand_from $commands" -a reset -d 'Restore default.cfg into setup.cfg'
complete -c dashcfg -n "not __fish_seen_subcommand_from $commands" -a clock -d 'Write or delete time.dat'
complete -c dashcfg -n "not __fish_seen_subcommand_from $commands" -a check -d 'Check the cards'
complete -c dashcfg -n "not __fish_seen_subcommand_from $commands" -a recover -d 'Put back the settings from before a save cut short'
complete -c dashcfg -n "not __fish_seen_subcommand_from $commands" -a help -d 'Show the help of a command'
complete -c dashcfg -n "not __fish_seen_subcommand_from $commands" -l version -d 'Show the version'
complete -c dashcfg -l help -s h -d 'Show the help'

complete -c dashcfg -n "__fish_seen_subcommand_from help" -a "$commands"
complete -c dashcfg -n "__fish_seen_subcommand_from show set export apply diff reset clock check recover" -l json -d 'Print one JSON document'
complete -c dashcfg -n "__fish_seen_subcommand_from set apply reset clock" -l dry-run -d 'Say what would change, write nothing'
complete -c dashcfg -n "__fish_seen_subcommand_from set apply reset clock export recover" -l force -d 'Go on with a damaged record'
complete -c dashcfg -n "__fish_seen_subcommand_from clock" -l at -x -a now -d 'Date and time, or now'
complete -c dashcfg -n "__fish_seen_subcommand_from clock" -l repeated -x -a 'first second' -d 'Which of a repeated time'
complete -c dashcfg -n "__fish_seen_subcommand_from clock" -l clear -d 'Delete time.dat'
complete -c dashcfg -n "__fish_seen_subcommand_from show set export apply reset clock check recover" -a '(__fish_complete_directories)'
complete -c dashcfg -n "__fish_seen_subcommand_from diff apply" -F
complete -c dashcfg -n "__fish_seen_subcommand_from set" -a '(dashcfg help set 2>/dev/null | string match -r "^  [a-z0-9_]+(?=: )" | string trim | string replace -r \'$\' =)'
