#!/bin/sh
# launcher/ stands beside update/, not above it: it links none of the updater's libraries and
# includes none of its headers. What both programs need lives in common/ or platform/.
# Prints each offending line; exits 1 when there is one.
src=${1:?usage: stays_beside_update.sh SOURCE_DIR}
found=0
libraries=$(grep -rhoE 'add_library\([A-Za-z0-9_]+' "$src/update" | sed 's/add_library(//')
for library in $libraries; do
    grep -rnw "$library" "$src/launcher" --include=CMakeLists.txt --include='*.cmake' && found=1
done
for header in $(find "$src/update" -name '*.h' -exec basename {} \;); do
    # A name the launcher's or the shared folders also hold is theirs.
    [ -n "$(find "$src/launcher" "$src/common" "$src/platform" -name "$header")" ] && continue
    grep -rnF "#include \"$header\"" "$src/launcher" && found=1
done
grep -rnE '#include ".*update/(app|transfer)/' "$src/launcher" && found=1
grep -rnE '(PROJECT_SOURCE_DIR|CMAKE_SOURCE_DIR)[}]?/update' "$src/launcher" && found=1
exit $found
