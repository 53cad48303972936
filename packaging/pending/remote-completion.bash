# The completion of "quarnival-cli remote" for packaging/completion/quarnival-cli. It waits
# here until the command exists: then "remote" goes into $commands (between float and
# search) and these lines into the first case, between float and search. The subcommand
# is completed as the first argument, as the fields of float and time are.
    remote)
        options="--pid --utf16"
        valued="--pid"
        fields="list close path open compare send-text text select view line command" ;;
