# Shared by the end-to-end scripts: sourced, not run.

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Whether two numbers of seconds lie within LIMIT of each other.
within() {
  awk -v limit="$1" -v a="$2" -v b="$3" 'BEGIN { d = a - b; if (d < 0) d = -d; exit !(d <= limit) }'
}
