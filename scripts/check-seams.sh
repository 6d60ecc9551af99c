#!/usr/bin/env bash
# Fails when the platform seam leaks: an OS header, an OS call or a compiler attribute outside
# src/platform, or a public header (include/) that includes a file of src/.
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
exit $status
