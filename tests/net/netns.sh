#!/bin/bash
# Runs a discovery test program (or the window test that refreshes and opens
# over the wired network) in a network namespace of its own, with emulated
# printers in two more, so broadcasts never leave namespaces made here:
#   <tag>-scan  s1 10.213.1.1/24, s2 10.213.2.1/24         the test program
#   <tag>-p<n>  p<n> 10.213.<n>.2/24, veth peer of s<n>    printer <n>
# One lps-emuprinter per printer and UDP port (see tst_net_discovery.cpp).
# usage: netns.sh LPS-EMUPRINTER TEST-PROGRAM [ARGS...]
# Exits 77 ("skipped" in CTest) where namespaces cannot be made (not root).
set -u
emu=$1
shift
tag="lps$$"
made=()
pids=()
logdir=$(mktemp -d "${TMPDIR:-/tmp}/lps-netns.XXXXXX") || exit 1

stop_printers() {
    local pid rc=0
    for pid in "${pids[@]}"; do kill -TERM "$pid" 2>/dev/null; done
    for pid in "${pids[@]}"; do wait "$pid" || rc=1; done
    pids=()
    return $rc
}
cleanup() {
    stop_printers 2>/dev/null
    for ns in "${made[@]}"; do ip netns del "$ns" 2>/dev/null; done
    rm -rf "$logdir"
}
trap cleanup EXIT
trap 'exit 130' INT TERM
fail() { echo "netns fixture: $*" >&2; exit 1; }

if ! command -v ip >/dev/null 2>&1 || ! ip netns add "$tag-scan" 2>"$logdir/netns.err"; then
    echo "SKIP: cannot create a network namespace (needs iproute2 and root): $(cat "$logdir/netns.err" 2>/dev/null)"
    exit 77
fi
made+=("$tag-scan")
ip -n "$tag-scan" link set lo up || fail "lo up"
for n in 1 2; do
    ns="$tag-p$n"
    ip netns add "$ns" || fail "ip netns add $ns"
    made+=("$ns")
    ip -n "$tag-scan" link add "s$n" type veth peer name "p$n" netns "$ns" || fail "veth s$n/p$n"
    ip -n "$tag-scan" addr add "10.213.$n.1/24" broadcast "10.213.$n.255" dev "s$n" || fail "address on s$n"
    ip -n "$ns" addr add "10.213.$n.2/24" broadcast "10.213.$n.255" dev "p$n" || fail "address on p$n"
    ip -n "$tag-scan" link set "s$n" up && ip -n "$ns" link set "p$n" up && ip -n "$ns" link set lo up \
        || fail "links up in $ns"
done

# printer <n> <port> [options...]
printer() {
    local n=$1 port=$2
    shift 2
    ip netns exec "$tag-p$n" "$emu" --tcp none --udp "$port" --bind 0.0.0.0 "$@" \
        >"$logdir/p$n-$port.log" 2>"$logdir/p$n-$port.err" &
    pids+=($!)
}
p1=(--vendor ACME --model LP-1)
printer 1 38400 "${p1[@]}" --delay 300
printer 2 38400 --vendor "Bolt Works" --model LP-2 --delay 300
printer 1 38401 "${p1[@]}" --device-id "MDL:LP-1;CMD:TSPL;"
# The window test: printer 1 answers discovery and takes TCP on 9100.
printer 1 38404 "${p1[@]}" --tcp 0.0.0.0:9100

# Every printer says "ready" once it listens; give them 20 s.
ready() { [ "$(cat "$logdir"/p*.log | grep -c '^ready$')" -eq ${#pids[@]} ]; }
for _ in $(seq 1 400); do ready && break; sleep 0.05; done
ready || { tail -n +1 "$logdir"/* >&2; fail "the emulated printers did not start"; }

ip netns exec "$tag-scan" env LPS_NETNS_LOGDIR="$logdir" LPS_NETNS_IFACES=s1,s2 "$@"
rc=$?
# The printers must end cleanly too (under the sanitizers a leak makes
# their exit status non-zero).
stop_printers || { echo "netns fixture: an emulated printer did not end cleanly" >&2; [ $rc -eq 0 ] && rc=1; }
[ $rc -eq 0 ] || tail -n +1 "$logdir"/*
exit $rc
