; HEX Zwirbel demo firmware: a blink pattern decoder on the 16F684 ("Stelldua - Blinkmuster",
; V3.60) for the blink pattern page with four outputs. Not a working decoder - just enough
; program code for the editor to recognise it. Program words 0..2 carry the identifier 0x01,
; word 8 the Motorola address check. The blink pattern table is the low bytes of words
; 0x300..0x3FF (retlw k), one block of 64 entries per address: entries 0..49 the steps
; (bit 0 = Out#1 ... bit 3 = Out#4), 53 the number of steps, 54 the stretch factor (x 20 ms),
; 55 the flags (bit 0 loop, bits 4..7 Out#1..Out#4 used).
; Assemble with: gpasm -o blinkmuster_16f684.hex blinkmuster_16f684.asm
        processor p16f684
        radix hex
        __config 0x31C4
        __idlocs 0x1360          ; ID digit 1, firmware version 3.60

        org 0x000
        movlw   0x01
        movlw   0x00
        movlw   0x00
        nop
        org 0x008
        btfss   0x0B,1          ; Motorola address receiver

        ; address 1: Out#1 and Out#2 alternate, Out#3 with them in the first steps; 10 steps
        ; of 200 ms, loop, Out#1..Out#3 used
        org 0x300
        dt      0x05, 0x05, 0x06, 0x06, 0x05, 0x02, 0x01, 0x02, 0x01, 0x02
        org 0x332
        dt      0xA5, 0x5A, 0x77, .10, .10, 0x71   ; 50..52 carried along, count, stretch, flags
        org 0x33F
        dt      0x3C
        ; address 2: a running light over the four outputs, 4 steps of 1 s, no loop
        org 0x340
        dt      0x01, 0x02, 0x04, 0x08
        org 0x375
        dt      .4, .50, 0xF0
        ; address 3: Out#4 flashes, 2 steps of 500 ms, loop, Out#4 used
        org 0x380
        dt      0x08, 0x00
        org 0x3B5
        dt      .2, .25, 0x81
        ; address 4: all four outputs flash twice, then a pause; 6 steps of 100 ms, loop
        org 0x3C0
        dt      0x0F, 0x00, 0x0F, 0x00, 0x00, 0x00
        org 0x3F5
        dt      .6, .5, 0xF1

        ; EEPROM: a few code bytes, so that the file places its EEPROM at 0x2100 (gpasm counts
        ; org here in HEX bytes: 0x2120 is EEPROM index 0x10)
        org 0x2100
        de 0x03
        org 0x2120
        de 0x00
        org 0x2140
        de 0xC3
        end
