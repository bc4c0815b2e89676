#!/bin/sh
# Writes a full-size 16F18324 firmware file to standard output: all 4096 program words, the ID
# words, the four configuration words and all 256 EEPROM bytes, in the record layout an
# assembler writes (16 data bytes per record, CR LF line ends). The first program words are
# those of the Forsta firmware in examples/, so the editor and the command-line tool recognise
# the file as that decoder type and load it without a question; the rest of the program memory
# is a pattern of valid 14-bit words.
#
#   bench/full_18324_hex.sh > full.hex
exec awk 'BEGIN {
    # Program memory: the identifier (movlw 0x00, 0x4B, 0x01) and the DCC signature at word 8
    # as in examples/forsta_16f18324.hex, then a pattern.
    split("0030 4B30 0130 0528 0900 2100 8C01 0000 0528", head, " ")
    for (w = 0; w < 4096; ++w) {
        if (w < 9) {
            rom[2 * w] = substr(head[w + 1], 1, 2)
            rom[2 * w + 1] = substr(head[w + 1], 3, 2)
        } else {
            v = (w * 37 + 11) % 16384
            rom[2 * w] = sprintf("%02X", v % 256)
            rom[2 * w + 1] = sprintf("%02X", int(v / 256))
        }
    }
    ela(0)
    for (a = 0; a < 8192; a += 16) {
        data = ""
        for (k = 0; k < 16; ++k)
            data = data rom[a + k]
        record(a, data)
    }
    ela(1)
    record(0, "5800000001" "0B0000")   # ID words: version 0.58, identifier byte 0B
    record(14, "8C17")                 # CONFIG 1
    record(16, "3C25FF1FFF3F")         # CONFIG 2..4
    for (n = 0; n < 256; n += 8) {     # EEPROM at word 0xF000, one byte per word
        data = ""
        for (k = 0; k < 8; ++k)
            data = data sprintf("%02X00", ((n + k) * 7 + 3) % 256)
        record(57344 + 2 * n, data)  # byte address 0x1E000
    }
    printf ":00000001FF\r\n"
}
function ela(upper) { record_typed(0, 4, sprintf("%04X", upper)) }
function record(offset, data) { record_typed(offset, 0, data) }
function record_typed(offset, type, data,    n, sum, i, body) {
    n = length(data) / 2
    body = sprintf("%02X%04X%02X%s", n, offset, type, data)
    sum = 0
    for (i = 1; i <= length(body); i += 2)
        sum += hexval(substr(body, i, 2))
    printf ":%s%02X\r\n", body, (256 - sum % 256) % 256
}
function hexval(t,    d) {
    d = "0123456789ABCDEF"
    return (index(d, substr(t, 1, 1)) - 1) * 16 + index(d, substr(t, 2, 1)) - 1
}'
