# Guest instructions a program ran, from qemu-user's "in_asm,exec,nochain" log on standard input:
# each translated block's size from its listing, added up at every run of the block.
/^IN:/ { listing = 1; n = 0; start = ""; next }
listing && /^0x[0-9a-f]+:/ {
    if (start == "")
        start = substr($1, 3, length($1) - 3)
    n++
    next
}
listing { if (start != "") size[start] = n; listing = 0 }
/^Trace/ {
    split($4, fields, "/")
    pc = fields[2]
    sub(/^0+/, "", pc)
    total += size[pc]
}
END { printf "%d\n", total }
