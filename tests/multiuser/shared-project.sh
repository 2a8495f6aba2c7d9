# Sourced by the tests: makes alice's project from SCRIPT in the current
# folder, shares it to the store the back end names, and copies the shared
# project for each further member.
#   shared_project GRTOOL BACKEND SCRIPT MEMBER...    sets $shared
shared_project() {
  local grtool=$1 backend=$2 script=$3
  shift 3
  case "$backend" in
    sqlite) mkdir -p store; shared="$PWD/store" ;;
    postgres) shared=$GR_TEST_POSTGRES ;;
    *) echo "unknown back end $backend" >&2; return 2 ;;
  esac
  "$grtool" new alice --name Demo >/dev/null
  "$grtool" play alice "$script" >/dev/null
  "$grtool" share alice --shared "$shared" --user alice >/dev/null
  # A member starts from the converted project: its tool definitions and its
  # top diagram, the rest fetched from the shared areas.
  local member
  for member in "$@"; do cp -r alice "$member"; done
}
