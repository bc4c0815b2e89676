; HEX Zwirbel demo firmware: a traffic light on the 16F684 ("Lumo - Ampel", V3.40, identifier
; 0x167) for the additional-functions page. Not a working decoder - just enough program code
; for the editor to recognise it. Its fading code in EEPROM byte 0x20 is 0x33, the middle
; speed (position 2 of the track bar from "schnell" to "langsam").
; Assemble with: gpasm -o ampel_16f684.hex ampel_16f684.asm
        processor p16f684
        radix hex
        __config 0x33CC
        __idlocs 0x1340

        org 0x000
        movlw   0x67
        movlw   0x01
        goto    start
        org 0x008
start:  btfss   0x0B,1
        goto    start

        org 0x2140
        de 0x33                  ; 0x20: fading code
        end
