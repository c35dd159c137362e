# fish completion for tarvelle-cli, installed as share/fish/vendor_completions.d/tarvelle-cli.fish. The lists
# follow `tarvelle-cli --help` and `tarvelle-cli COMMAND --help`; `ctest -R cli_docs` in the build folder says
# when an option is missing here.

# The unit and rate names hold blanks: one per line keeps each whole.
function __tarvelle_cli_rate_units
    printf '%s\n' bps Bps kbps Mbps Gbps Mbit/s MB/s MiB/s 'Kbps (b10)' 'KBps (b10)' 'Mbps (b10)' 'MBps (b10)' 'Gbps (b10)' 'GBps (b10)' \
        'Kbps (b2)' 'KBps (b2)' 'Mbps (b2)' 'MBps (b2)' 'Gbps (b2)' 'GBps (b2)'
end
function __tarvelle_cli_size_units
    printf '%s\n' bits bytes B kB MB GB KiB MiB GiB 'Kb (b10)' 'KB (b10)' 'Mb (b10)' 'MB (b10)' 'Gb (b10)' 'GB (b10)' \
        'Kb (b2)' 'KB (b2)' 'Mb (b)' 'MB (b2)' 'Gb (b2)' 'GB (b2)'
end
function __tarvelle_cli_common_rates
    printf '%s\n' 28.8kbps 33.6kbps 56kbps '1-ch ISDN' '2-ch ISDN' '208 Kbps' '256 Kbps' '384 Kbps' \
        '512 Kbps' '768 Kbps' '1024 Kbps' 'T-1 / DS-1' 'T-2 / DS-2' 'T-3 / DS-3' OC-1 OC-3 OC-12 OC-48 OC-192
end
function __tarvelle_cli_modes
    printf '%s\t%s\n' random 'completely random' easy 'more easily pronounced' \
        pronounceable 'can be pronounced' unpronounceable 'exclude passwords which can be pronounced' \
        0 'completely random' 1 'more easily pronounced' 2 'can be pronounced' \
        3 'exclude passwords which can be pronounced'
end

complete -c tarvelle-cli -f
set -l none 'not __fish_seen_subcommand_from bandwidth ip passwords'
complete -c tarvelle-cli -n $none -a bandwidth -d 'Solve rate, size or time from the other two'
complete -c tarvelle-cli -n $none -a ip -d 'Addresses, counts and type of an IPv4 or IPv6 network'
complete -c tarvelle-cli -n $none -a passwords -d 'Make passwords'
complete -c tarvelle-cli -n $none -l version -d 'Print the version'
complete -c tarvelle-cli -n $none -s h -l help -d 'List the commands'

set -l bw '__fish_seen_subcommand_from bandwidth'
complete -c tarvelle-cli -n $bw -l rate-unit -x -a '(__tarvelle_cli_rate_units)' -d 'The rate unit'
complete -c tarvelle-cli -n $bw -l size-unit -x -a '(__tarvelle_cli_size_units)' -d 'The data size unit'
complete -c tarvelle-cli -n $bw -l time-unit -x -a 's sec min h hrs d days' -d 'The time unit'
complete -c tarvelle-cli -n $bw -l tolerance -x -d 'The tolerance in whole percent'
complete -c tarvelle-cli -n $bw -l rate -x -d 'The rate box text'
complete -c tarvelle-cli -n $bw -l size -x -d 'The data size box text'
complete -c tarvelle-cli -n $bw -l time -x -d 'The time box text'
complete -c tarvelle-cli -n $bw -l common -x -a '(__tarvelle_cli_common_rates)' -d 'A common line rate'
complete -c tarvelle-cli -n $bw -l solve -x -a 'rate size time' -d 'Solve the rate, the size or the time'
complete -c tarvelle-cli -n $bw -s j -l json -d 'Print one JSON object'
complete -c tarvelle-cli -n $bw -s h -l help -d 'Describe the options'

set -l ip '__fish_seen_subcommand_from ip'
complete -c tarvelle-cli -n $ip -a - -d 'Read one address per line from standard input'
set -l ipsub "$ip; and not __fish_seen_subcommand_from split range merge"
complete -c tarvelle-cli -n $ipsub -a split -d 'List the subnets of a network'
complete -c tarvelle-cli -n $ipsub -a range -d 'The fewest CIDR blocks covering a range'
complete -c tarvelle-cli -n $ipsub -a merge -d 'The fewest blocks covering a list of networks'
set -l split '__fish_seen_subcommand_from split'
complete -c tarvelle-cli -n $split -s p -l prefix -x -d 'The subnets prefix length'
complete -c tarvelle-cli -n $split -s c -l count -x -d 'The smallest prefix giving at least N subnets'
complete -c tarvelle-cli -n $split -s l -l limit -x -d 'Print only the first N subnets'
complete -c tarvelle-cli -n $split -s a -l all -d 'Print every subnet, however many'
complete -c tarvelle-cli -n $ip -s j -l json -d 'Print each result as one JSON object'
complete -c tarvelle-cli -n $ip -s h -l help -d 'Describe the arguments'

set -l pw '__fish_seen_subcommand_from passwords'
complete -c tarvelle-cli -n $pw -s n -l count -x -d 'How many passwords, 1 to 1000000'
complete -c tarvelle-cli -n $pw -l length -x -d 'Password length MIN-MAX, 1 to 99'
complete -c tarvelle-cli -n $pw -l upper -x -a off -d 'Uppercase letters MIN-MAX, or off'
complete -c tarvelle-cli -n $pw -l lower -x -a off -d 'Lowercase letters MIN-MAX, or off'
complete -c tarvelle-cli -n $pw -l digits -x -a off -d 'Digits MIN-MAX, or off'
complete -c tarvelle-cli -n $pw -l other -x -a off -d 'Other characters MIN-MAX, or off'
complete -c tarvelle-cli -n $pw -l other-chars -x -d 'The other characters'
complete -c tarvelle-cli -n $pw -l exclude-similar -d 'Leave out look-alike characters'
complete -c tarvelle-cli -n $pw -l mode -x -a '(__tarvelle_cli_modes)' -d 'Pronounceability mode'
complete -c tarvelle-cli -n $pw -l seed -x -d 'Reproducible, not secret, passwords from a seed'
complete -c tarvelle-cli -n $pw -l strength -d 'Print how strong the passwords are instead of making them'
complete -c tarvelle-cli -n $pw -s j -l json -d 'Print one JSON object'
complete -c tarvelle-cli -n $pw -s h -l help -d 'Describe the options'
