# bootp_reply.sh: the reply that the configuration exchange sends, as the namespace tests and the
# desktop test expect it from the test peer. Source it from bash.
#
#   expected_reply XID HW IP MASK GW
#       The 300-byte reply to the request with XID (eight hex digits) from hardware address HW,
#       carrying IP, MASK and GW, as lower-case hex.
#
#   expected_replies COUNT FROM DEVICE HEX
#       The lines that the test peer's bootp mode prints for COUNT such replies from FROM:67,
#       received on DEVICE.

# The dotted address as eight hex digits.
address_hex() {
    local IFS=.
    # shellcheck disable=SC2086
    printf '%02x%02x%02x%02x' $1
}

zeros() {
    printf "%0$(($1 * 2))d" 0
}

# The reply, built field by field.
expected_reply() {
    local xid=$1 hw=${2//:/} ip=$3 mask=$4 gw=$5
    printf '%s' "02" "01" "06" "00"                   #   0 op, htype, hlen, hops
    printf '%s' "${xid,,}"                            #   4 xid
    printf '%s' "6400" "0000"                         #   8 secs (0x64 first), flags
    printf '%s' "$(zeros 4)" "$(address_hex "$ip")"   #  12 ciaddr, yiaddr
    printf '%s' "$(zeros 4)" "$(zeros 4)"             #  20 siaddr, giaddr
    printf '%s' "${hw,,}" "$(zeros 10)"               #  28 chaddr and its rest
    printf '%s' "$(zeros 64)" "$(zeros 128)"          #  44 sname, 108 file
    printf '%s' "63825363"                            # 236 magic cookie
    printf '%s' "0104" "$(address_hex "$mask")"       # 240 subnet mask option
    printf '%s' "0304" "$(address_hex "$gw")"         # 246 router option
    printf '%s' "ff" "$(zeros 47)"                    # 252 end, rest of the vendor area
}

expected_replies() {
    local count=$1 from=$2 device=$3 hex=$4 n
    for ((n = 1; n <= count; n++)); do
        echo "reply $n from $from:67 to 255.255.255.255:68 on $device length 300 $hex"
    done
}
