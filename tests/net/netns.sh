#!/bin/bash
# Runs a discovery test program (or the window test that refreshes and opens
# over the wired network) inside a network namespace of its own, with
# emulated printers in two more namespaces, so that the broadcasts never
# leave namespaces this script made:
#
#   <tag>-scan  lo; s1 10.213.1.1/24; s2 10.213.2.1/24   the test program
#   <tag>-p1    lo; p1 10.213.1.2/24 (veth peer of s1)   printer 1
#   <tag>-p2    lo; p2 10.213.2.2/24 (veth peer of s2)   printer 2
#
# Each printer namespace runs one lps-emuprinter per UDP port (see
# tst_net_discovery.cpp for what each port does). The veth links are
# created inside the namespaces; nothing is added to the caller's
# namespace, and everything is removed on exit.
#
# usage: netns.sh LPS-EMUPRINTER TEST-PROGRAM [ARGS...]
# Exit code 77 (mapped to "skipped" in CTest) when namespaces cannot be
# made here (not root, or no CAP_SYS_ADMIN in a container).
set -u

SKIP=77
if [ $# -lt 2 ]; then
    echo "usage: $0 LPS-EMUPRINTER TEST-PROGRAM [ARGS...]" >&2
    exit 2
fi
emu=$1
shift

tag="lps$$"
ns_scan="$tag-scan"
ns_p1="$tag-p1"
ns_p2="$tag-p2"
made=()
pids=()
logdir=$(mktemp -d "${TMPDIR:-/tmp}/lps-netns.XXXXXX") || exit 1

cleanup() {
    local pid ns
    for pid in "${pids[@]}"; do kill -TERM "$pid" 2>/dev/null; done
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null; done
    for ns in "${made[@]}"; do ip netns del "$ns" 2>/dev/null; done
    rm -rf "$logdir"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

if ! command -v ip >/dev/null 2>&1; then
    echo "SKIP: the ip tool (iproute2) is missing; discovery tests need network namespaces"
    exit $SKIP
fi
if ! ip netns add "$ns_scan" 2>"$logdir/netns.err"; then
    echo "SKIP: cannot create a network namespace ($(head -n1 "$logdir/netns.err"));" \
         "discovery tests need root (CAP_SYS_ADMIN) to run the emulated printers in" \
         "namespaces of their own"
    exit $SKIP
fi
made+=("$ns_scan")

fail() {
    echo "netns fixture: $*" >&2
    exit 1
}

for ns in "$ns_p1" "$ns_p2"; do
    ip netns add "$ns" || fail "ip netns add $ns"
    made+=("$ns")
done

# link <n>: s<n> in the scan namespace, p<n> in printer namespace <n>.
link() {
    local n=$1 ns=$2
    ip -n "$ns_scan" link add "s$n" type veth peer name "p$n" netns "$ns" \
        || fail "veth s$n/p$n"
    ip -n "$ns_scan" addr add "10.213.$n.1/24" broadcast "10.213.$n.255" dev "s$n" \
        || fail "address on s$n"
    ip -n "$ns" addr add "10.213.$n.2/24" broadcast "10.213.$n.255" dev "p$n" \
        || fail "address on p$n"
    ip -n "$ns_scan" link set "s$n" up || fail "s$n up"
    ip -n "$ns" link set "p$n" up || fail "p$n up"
    ip -n "$ns" link set lo up || fail "lo up in $ns"
}
ip -n "$ns_scan" link set lo up || fail "lo up in $ns_scan"
link 1 "$ns_p1"
link 2 "$ns_p2"

# printer <n> <port> [options...]
printer() {
    local n=$1 port=$2 ns
    shift 2
    ns="$tag-p$n"
    ip netns exec "$ns" "$emu" --tcp none --udp "$port" --bind 0.0.0.0 "$@" \
        >"$logdir/p$n-$port.log" 2>"$logdir/p$n-$port.err" &
    pids+=($!)
}
p1=(--vendor ACME --model LP-1)
p2=(--vendor "Bolt Works" --model LP-2)
printer 1 38400 "${p1[@]}" --delay 300
printer 2 38400 "${p2[@]}" --delay 300
printer 1 38401 "${p1[@]}"
printer 2 38401 "${p2[@]}" --delay 700
printer 1 38402 "${p1[@]}" --device-id "MDL:LP-1;CMD:TSPL;"
printer 2 38402 "${p2[@]}" --device-id "MDL:LP-2;CMD:TSPL;"
# The window test: printer 1 answers discovery and takes TCP on 9100.
printer 1 38404 "${p1[@]}" --tcp 0.0.0.0:9100

# Wait until every printer listens (or give up after 20 s).
for _ in $(seq 1 400); do
    ready=0
    for log in "$logdir"/p*.log; do
        grep -q '^ready$' "$log" 2>/dev/null && ready=$((ready + 1))
    done
    [ "$ready" -eq 7 ] && break
    sleep 0.05
done
if [ "$ready" -ne 7 ]; then
    for f in "$logdir"/*; do echo "== $f"; cat "$f"; done >&2
    fail "the emulated printers did not start"
fi

ip netns exec "$ns_scan" env LPS_NETNS_LOGDIR="$logdir" LPS_NETNS_IFACES=s1,s2 "$@"
rc=$?

# The printers must end cleanly too (under the sanitizers a leak or an
# error report makes their exit status non-zero).
for pid in "${pids[@]}"; do kill -TERM "$pid" 2>/dev/null; done
for pid in "${pids[@]}"; do
    if ! wait "$pid"; then
        echo "netns fixture: emulated printer $pid did not end cleanly" >&2
        [ $rc -eq 0 ] && rc=1
    fi
done
pids=()
if [ $rc -ne 0 ]; then
    for f in "$logdir"/*; do echo "== $f"; cat "$f"; done
fi
exit $rc
