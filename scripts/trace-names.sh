# Sourced: trace_name CONSTANT prints the name of a trace line as setup.exe
# writes it, read from src/core/TraceNames.h ("trace_name kDriverDone").
_trace_names_header="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/src/core/TraceNames.h"
trace_name() {
  sed -n "s/^constexpr char $1\\[\\] = \"\\([^\"]*\\)\";.*/\\1/p" "$_trace_names_header"
}
