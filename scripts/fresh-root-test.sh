#!/usr/bin/env bash
# Runs ./test.sh as a newcomer's first run does: in a Debian 12 root made
# fresh with mmdebstrap --variant=minbase (git and the CA certificates added,
# nothing else), from a clone of this checkout's HEAD, as root. Each run
# starts from nothing: no package of the build or the tests, no build
# folder, no compiler cache, LibreOffice never started. The roots are
# thrown away afterwards.
#
#   scripts/fresh-root-test.sh [RUNS]     (default 1)
#
# Prints each run's result and time and keeps its whole log in
# ${TMPDIR:-/var/tmp}/qurvia-fresh-<n>.log. Needs root and the Debian
# archive that this machine's apt sources name. Exits non-zero when a run
# failed.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-1}
case "$runs" in
  '' | *[!0-9]*) echo "RUNS must be a whole number: $runs" >&2; exit 2 ;;
esac
[ "$(id -u)" -eq 0 ] || { echo "needs root (mmdebstrap makes the root as root)" >&2; exit 2; }

mirrors=()
while read -r uri suite component; do
  mirrors+=("deb $uri $suite $component")
done < <(apt-get indextargets --format '$(REPO_URI) $(RELEASE) $(COMPONENT)' \
           'Identifier: Packages' 'Origin: Debian' | sort -u)
[ ${#mirrors[@]} -gt 0 ] || { echo "this machine's apt sources name no Debian archive" >&2; exit 2; }

source=$(pwd)
logs=${TMPDIR:-/var/tmp}
failed=0
for ((n = 1; n <= runs; n++)); do
  work=$(mktemp -d "$logs/qurvia-fresh.XXXXXX")
  log=$logs/qurvia-fresh-$n.log
  echo "== run $n of $runs at $(git rev-parse --short HEAD): log $log"
  start=$(date +%s)
  # The hook clones the checkout into the root and runs test.sh there;
  # mmdebstrap has /proc, /sys and /dev mounted in the root while hooks run.
  if mmdebstrap --variant=minbase --include=git,ca-certificates \
      --aptopt='Acquire::Languages "none"' \
      --customize-hook="git clone --quiet --no-local '$source' \"\$1/root/qurvia\"" \
      --customize-hook='chroot "$1" sh -c "cd /root/qurvia && ./test.sh"' \
      bookworm "$work/root" "${mirrors[@]}" >"$log" 2>&1; then
    result=passed
  else
    result=FAILED
    failed=1
  fi
  echo "   $result in $(( ($(date +%s) - start) / 60 )) min; $(grep -cE '^ *[0-9]+/[0-9]+ Test' "$log") tests run"
  grep -E 'tests passed|tests failed|package check passed|^!!' "$log" | sed 's/^/   /' || true
  # Whatever the root still has mounted goes first, so the removal never
  # reaches outside it.
  awk -v w="$work/" 'index($2, w) == 1 {print $2}' /proc/mounts | sort -r | xargs -r -n1 umount -l
  rm -rf --one-file-system "$work"
done
exit "$failed"
