#!/usr/bin/env bash
# Fails when the platform seam leaks (an OS header, an OS call or a compiler attribute outside
# src/platform), when a public header (include/) includes a file of src/, or when a layer of the
# library includes a layer above it.
set -euo pipefail
cd "$(dirname "$0")/.."
status=0
sources() { git ls-files -- "$@" | grep -E '\.(cpp|h|inc|def)$' || true; }
outside_platform=$(sources include src standins tools tests bench examples | grep -v '^src/platform/' || true)

os_headers='#include <(unistd|dlfcn|fcntl|pty|termios|poll|signal|spawn|dirent|strings|pthread|windows|winbase|io|direct|cxxabi)\.h>|#include <sys/'
os_calls='\b(dladdr|dlopen|dlsym|dlclose|strcasecmp|strncasecmp|setenv|unsetenv|getpid|isatty|gettimeofday|localtime_r|popen|pclose|fork|execv|waitpid|openpty|__cxa_demangle|LoadLibraryA|GetProcAddress)\b *\('
attributes='__attribute__|__declspec'

report() {
  local what=$1 pattern=$2
  local hits
  hits=$(echo "$outside_platform" | xargs -r grep -nE "$pattern" || true)
  if [ -n "$hits" ]; then
    echo "$what outside src/platform:" >&2
    echo "$hits" >&2
    status=1
  fi
}
report "OS header" "$os_headers"
report "OS call" "$os_calls"
report "compiler attribute" "$attributes"

private=$(sources include | xargs -r grep -nE '#include "(platform|dbaccess|opendata|blob|foundation|app|helpfuncs)/' || true)
if [ -n "$private" ]; then
  echo "public header including a file of src/:" >&2
  echo "$private" >&2
  status=1
fi
# The layers of the library: data flows helpfuncs -> opendata -> blob -> dbaccess -> platform, never
# back; foundation (exceptions, trace) serves every layer above the platform, and app (the
# frame) sits on top. The blob records are extensions that the model's objects own, and the
# extension factory is a factory of the model: blob builds on the model's extension and factory
# interfaces, and the model never knows the records.
declare -A allowed=(
  [platform]="platform"
  [foundation]="foundation platform"
  [dbaccess]="dbaccess platform"
  [blob]="blob opendata dbaccess foundation platform"
  [opendata]="opendata dbaccess foundation platform"
  [helpfuncs]="helpfuncs app opendata blob dbaccess foundation platform"
  [app]="app helpfuncs opendata blob dbaccess foundation platform"
)
for layer in "${!allowed[@]}"; do
  for file in $(sources "src/$layer"); do
    for used in $(grep -oE '#include "(platform|dbaccess|opendata|blob|foundation|app|helpfuncs)/' "$file" |
                  sed 's/#include "//; s|/||' | sort -u); do
      if [[ " ${allowed[$layer]} " != *" $used "* ]]; then
        echo "layering: $file ($layer) includes a file of $used" >&2
        status=1
      fi
    done
  done
done
exit $status
