#!/usr/bin/env bash
# Checks the source's shape: core includes neither editor nor gui nor Qt, the
# editor no gui and no Qt; effects are named, not numbered, outside the
# catalogue table; the recipe language's texts live in core/oplog.
set -u
cd "$(dirname "$0")/../.."
fail=0
report() { echo "$1"; echo "$2" | sed 's/^/  /'; fail=1; }

hits=$(grep -rnE '#include *[<"](editor|gui)/|#include *<Q' src/core)
[ -n "$hits" ] && report "core must not include editor, gui or Qt:" "$hits"
hits=$(grep -rnE '#include *[<"]gui/|#include *<Q' src/editor)
[ -n "$hits" ] && report "the editor must not include gui or Qt:" "$hits"

# Effect ids by name (fx::Marble), never by number, outside the catalogue.
numbered='(EffectVals\[|MenuEffect\(|EffectAvailable\(|EffectRowOf\(|[^a-zA-Z]Effect\()[0-9]|(EffectId|[^a-zA-Z_.]id) *(==|!=|<=|>=|<|>) *[1-9]'
hits=$(grep -rnE "$numbered" src bench | grep -v "src/core/effects/catalogue\.cpp")
[ -n "$hits" ] && report "effects must be named (fx::...), not numbered:" "$hits"
hits=$(grep -rnE 'case [0-9]+:' src/editor src/cli)
[ -n "$hits" ] && report "no numbered cases in the editor or batch tool:" "$hits"

[ $fail -eq 0 ] && echo "layering and naming: ok"
exit $fail
