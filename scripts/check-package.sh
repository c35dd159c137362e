#!/usr/bin/env bash
# Checks the Debian package that `make package` left in BUILD: lintian with no error or warning (overrides
# only in resources/debian/lintian-overrides, each with its reason), both programs hardened, and the files a
# user looks for (manual pages, completions, metadata, copyright, changelog) in place.
#   scripts/check-package.sh BUILD
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}

shopt -s nullglob
debs=("$build"/tarvelle_*.deb)
if [ ${#debs[@]} -ne 1 ]; then
    echo "check-package: expected one tarvelle_*.deb in $build, found ${#debs[@]}" >&2
    exit 1
fi
deb=${debs[0]}
echo "check-package: $deb"

# --fail-on warning makes lintian's exit code fail on any error or warning; info and pedantic tags are shown.
lintian --fail-on error,warning --display-info --tag-display-limit 0 "$deb"

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
failed=0
for path in usr/bin/tarvelle usr/bin/tarvelle-cli \
    usr/share/man/man1/tarvelle.1.gz usr/share/man/man1/tarvelle-cli.1.gz \
    usr/share/applications/example.quenfield.Tarvelle.desktop \
    usr/share/metainfo/example.quenfield.Tarvelle.metainfo.xml \
    usr/share/bash-completion/completions/tarvelle-cli usr/share/zsh/vendor-completions/_tarvelle-cli \
    usr/share/fish/vendor_completions.d/tarvelle-cli.fish \
    usr/share/doc/tarvelle/copyright usr/share/doc/tarvelle/changelog.gz; do
    if [ ! -f "$root/$path" ]; then
        echo "check-package: /$path is missing from the package" >&2
        failed=1
    fi
done
# Every protection this release's build flags give: PIE, the stack protector, fortified calls, full RELRO and,
# where the flags hold it, control-flow or branch protection.
scripts/check-hardening.sh "$root/usr/bin/tarvelle" "$root/usr/bin/tarvelle-cli" || failed=1
exit $failed
