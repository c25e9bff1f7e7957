# Sourced by scripts/fuzz-check.sh and bench/fuzz.sh: how the sanitizers report in a fuzz run.
# fuzz_options TARGET sets ASAN_OPTIONS for one target.
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/fuzz/lsan.supp:print_suppressions=0
fuzz_options() {
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
  # The compound file targets' leaks are told apart by the library frames they pass through,
  # which only the slow unwinder finds (libgsf and glib are built without frame pointers).
  case "$1" in
    document_sniffer | ole_storage) ASAN_OPTIONS=$ASAN_OPTIONS:fast_unwind_on_malloc=0 ;;
  esac
  export ASAN_OPTIONS
}
