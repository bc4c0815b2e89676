; HEX Zwirbel demo firmware: an LED blink pattern decoder on the 16F684 ("Lumo - Blinkmuster
; ab V3.60", identifier 0x1DD) for the blink pattern page with ten outputs. Not a working
; decoder - just enough program code for the editor to recognise it: the identifier in program
; words 0..2, the Motorola address check in word 8. The blink pattern table is the low bytes of
; words 0x300..0x6FF (retlw k), one block of 256 entries per address: entries 0..99 steps of
; Out#1..Out#4 (bits 0..3), 100 flags (bit 0 loop, bits 4..7 Out#1..4 used), 101 number of
; steps, 102/104 stretch low/high (stretch = high x 255 + low - 255), 103 Out#5..Out#10 used
; (bits 0..5), 128..227 steps of Out#5..Out#10 (bits 0..5).
; Assemble with: gpasm -o led_blinkmuster_16f684.hex led_blinkmuster_16f684.asm
        processor p16f684
        radix hex
        __config 0x31C4
        __idlocs 0x1360          ; ID digit 1, firmware version 3.60

        org 0x000
        movlw   0xDD
        movlw   0x01
        movlw   0x00
        nop
        org 0x008
        btfss   0x0B,1          ; Motorola address receiver

        ; address 1: 8 steps of 200 ms (stretch 10: high 1, low 10), loop, all outputs used
        org 0x300
        dt      0x01, 0x03, 0x07, 0x0F, 0x0E, 0x0C, 0x08, 0x00
        org 0x364
        dt      0xF1, .8, .10, 0x3F, .1
        org 0x380
        dt      0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x3F, 0x00
        org 0x3FF
        dt      0x5A            ; entry 255, carried along
        ; address 2: one step of 5.1 s (stretch 255: high 2, low 0), Out#1 and Out#5 used
        org 0x400
        dt      0x0F
        org 0x464
        dt      0x11, .1, .0, 0x01, .2
        org 0x480
        dt      0x3F
        org 0x4FF
        dt      0xA5
        ; address 3: Out#5..Out#10 alternate in pairs, 2 steps of 1 s (stretch 50: high 1,
        ; low 50), loop, Out#5..Out#10 used
        org 0x564
        dt      0x01, .2, .50, 0x3F, .1
        org 0x580
        dt      0x15, 0x2A
        ; address 4: a running light over Out#1..Out#4, 4 steps of 200 ms, loop
        org 0x600
        dt      0x01, 0x02, 0x04, 0x08
        org 0x664
        dt      0xF1, .4, .10, 0x00, .1

        ; EEPROM: a few code bytes, so that the file places its EEPROM at 0x2100
        org 0x2100
        de 0x03
        org 0x2120
        de 0x00
        org 0x2140
        de 0xC3
        end
