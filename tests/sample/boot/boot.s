; The sample image's boot program: what the console runs on reset.
;
; It shows, the way the game itself would, two things that the tools put
; into the image:
;   - graphic 12 (a 4 bpp picture), decoded from its compressed stream
;     into work RAM and shown as tiles on BG1: tile i at column i mod 16,
;     tile row i div 16, tile rows 0 to 19 (the rest of the map blank, so
;     that nothing of it lies in front of the text box);
;   - the first string of the 16-bit pointer table at $98:8000 in a text
;     box on BG3, as a game's text engine draws it: 3 lines of 28 cells,
;     the first cell at tile column 2 of tile row 22, lines two tile rows
;     apart, one glyph of graphic 9 (the 2 bpp font, tile c for code c)
;     a cell. The codes it needs come from the text descriptor at
;     $9B:8000 that the image holds (see text_box below).
; Then it ends forced blank and waits forever. Mode 1; BG1 in palette 1
; (a ramp of 16 greys), BG3 in palette 0 (4 greys), backdrop black.
;
; The decoder below is a second reading of the compressed format, written
; on the console's own terms. A stream is a run of groups:
;   control byte  eight flags, bit 7 first: 1 = a literal, 0 = the fill
;   fill byte     the byte that every 0 flag of the group stands for
;   literals      one byte for each 1 flag, in order, read as needed
; Decoding stops as soon as the decoded size (the record's first word;
; 0 counts as 1) is reached, even inside a group. A stream may run over
; the end of a LoROM bank: after $xx:FFFF it goes on at $(xx+1):8000.

.p816

; Fixed facts of the game.
DIRECTORY       = $86F6F7       ; the graphics directory: 5-byte records
RECORD_SIZE     = 5
RECORD_UNPACKED = 0             ; little-endian decoded size
RECORD_ADDRESS  = 2             ; 24-bit LoROM address of the stream
PICTURE         = 12            ; the 4 bpp picture
FONT            = 9             ; the 2 bpp font
TEXT_TABLE      = $988000       ; 16-bit pointers to strings in bank $98
TEXT_BANK       = $98
; The text descriptor: the end token, the line break, the control code
; and its parameter count, the number of dictionary words, then each word:
; its record's size, its code's length and bytes, its text's length and
; the codes of its characters.
DESCRIPTOR      = $9B8000
WORDS           = 5             ; where the first word's record starts
TEXT_LIMIT      = 1024          ; bytes of a string read at most
BOX_ROW         = 22            ; tile row of the box's first line on BG3
BOX_COLUMN      = 2             ; tile column of its first cell
BOX_LINES       = 3
BOX_CELLS       = 28

; What is shown of the picture: 24 rows of 16 tiles of 32 bytes.
PICTURE_LIMIT   = 24 * 16 * 32
FONT_LIMIT      = 256 * 16      ; 256 tiles of 16 bytes

; Work RAM for the decoded bytes (bank $7F).
PICTURE_BUFFER  = $7F0000
FONT_BUFFER     = $7F4000

; Video memory, in words.
BG1_CHARS       = $0000         ; 4 bpp tiles of the picture
BG3_CHARS       = $4000         ; 2 bpp tiles of the font
BG1_MAP         = $7000         ; 32 x 32 entries
BG3_MAP         = $7800
BLANK_TILE      = $03FF         ; a tile number whose bytes stay zero

; PPU and CPU registers.
INIDISP = $2100
BGMODE  = $2105
BG1SC   = $2107
BG3SC   = $2109
BG12NBA = $210B
BG34NBA = $210C
BG1HOFS = $210D
BG1VOFS = $210E
BG3HOFS = $2111
BG3VOFS = $2112
VMAIN   = $2115
VMADD   = $2116
VMDATA  = $2118
CGADD   = $2121
CGDATA  = $2122
TM      = $212C
NMITIMEN = $4200
MDMAEN  = $420B
DMAP0   = $4300
BBAD0   = $4301
A1T0    = $4302
A1B0    = $4304
DAS0    = $4305

; Direct page.
source   = $00                  ; 3 bytes: the next stream byte
target   = $03                  ; 3 bytes: where decoded bytes go
limit    = $06                  ; 2 bytes: bytes to decode
control  = $08                  ; the group's flags, shifted left as used
fill     = $09
flags    = $0A                  ; flags left in the group
string   = $0C                  ; 3 bytes: the string's address
produced = $10                  ; 2 bytes: bytes the decoder stored
line     = $12                  ; the box's line being drawn (stays at BOX_LINES past it)
cell     = $13                  ; its next cell (stays at BOX_CELLS past it)
end_code = $14                  ; the descriptor's codes
break_code = $15
control_code = $16
parameters = $17                ; 2 bytes: the control code's parameter bytes
words_left = $19
remaining = $1A                 ; bytes of a word's code or text left
word     = $1B                  ; 2 bytes: descriptor index of the word's record
skip     = $1D                  ; 2 bytes: the record's size
start_y  = $1F                  ; 2 bytes: where the word's code would start

.segment "CODE"

reset:
        sei
        clc
        xce                     ; native mode
        rep #$38                ; 16-bit A, X, Y; binary arithmetic
        .a16
        .i16
        ldx #$1FFF
        txs
        lda #$0000
        tcd                     ; direct page at $0000
        sep #$20
        .a8
        lda #$80
        sta INIDISP             ; forced blank while video memory is written
        stz NMITIMEN

        ; The whole of video memory to zero: one word of zeros, fixed source.
        lda #$80
        sta VMAIN               ; address steps after the high byte
        ldx #$0000
        stx VMADD
        lda #$09                ; fixed source, two registers
        sta DMAP0
        lda #<VMDATA
        sta BBAD0
        ldx #.loword(zero)
        stx A1T0
        lda #^zero
        sta A1B0
        ldx #$0000              ; 0 = 65536 bytes
        stx DAS0
        lda #$01
        sta MDMAEN

        ; The picture: decoded into work RAM, then copied to BG1's tiles.
        ldx #.loword(PICTURE_BUFFER)
        stx target
        lda #^PICTURE_BUFFER
        sta target+2
        ldx #PICTURE_LIMIT
        stx limit
        ldx #PICTURE * RECORD_SIZE
        jsr decode
        ldx #BG1_CHARS
        ldy #.loword(PICTURE_BUFFER)
        lda #^PICTURE_BUFFER
        jsr copy_to_vram

        ; The font, likewise, to BG3's tiles.
        ldx #.loword(FONT_BUFFER)
        stx target
        lda #^FONT_BUFFER
        sta target+2
        ldx #FONT_LIMIT
        stx limit
        ldx #FONT * RECORD_SIZE
        jsr decode
        ldx #BG3_CHARS
        ldy #.loword(FONT_BUFFER)
        lda #^FONT_BUFFER
        jsr copy_to_vram

        ; BG1's map: rows 0 to 19, columns 0 to 15 hold tiles 0 to 319 in
        ; palette 1; every other entry the blank tile.
        ldx #BG1_MAP
        stx VMADD
        rep #$20
        .a16
        ldx #$0000              ; entry: row * 32 + column
@bg1_entry:
        txa
        and #$0010              ; columns 16 to 31
        bne @bg1_blank
        cpx #20 * 32
        bcs @bg1_blank
        txa                     ; tile = row * 16 + column
        and #$000F
        sta produced
        txa
        and #$FFE0
        lsr a
        ora produced
        ora #$0400              ; palette 1
        bra @bg1_store
@bg1_blank:
        lda #BLANK_TILE
@bg1_store:
        sta VMDATA
        inx
        cpx #32 * 32
        bne @bg1_entry

        ; BG3's map: blank, then the string in the text box (palette 0).
        ldx #BG3_MAP
        stx VMADD
        lda #BLANK_TILE
        ldx #32 * 32
@bg3_entry:
        sta VMDATA
        dex
        bne @bg3_entry
        sep #$20
        .a8
        jsr text_box

        ; Palettes: 0 for BG3 (CGRAM 0 to 3, 0 also the backdrop), 1 for
        ; BG1 (CGRAM 16 to 31).
        stz CGADD
        ldx #$0000
@palette0:
        lda f:text_greys,x
        sta CGDATA
        inx
        cpx #4 * 2
        bne @palette0
        lda #16
        sta CGADD
        ldx #$0000
@palette1:
        lda f:picture_greys,x
        sta CGDATA
        inx
        cpx #16 * 2
        bne @palette1

        ; Mode 1; maps and tiles where they were written.
        lda #$01
        sta BGMODE
        lda #(BG1_MAP >> 10) << 2
        sta BG1SC
        lda #(BG3_MAP >> 10) << 2
        sta BG3SC
        lda #(BG1_CHARS >> 12)
        sta BG12NBA
        lda #(BG3_CHARS >> 12)
        sta BG34NBA
        ; The first line shown is background line vertical offset + 1:
        ; an offset of $3FF (-1) shows tile row 0 on the first line.
        stz BG1HOFS
        stz BG1HOFS
        lda #$FF
        sta BG1VOFS
        lda #$03
        sta BG1VOFS
        stz BG3HOFS
        stz BG3HOFS
        lda #$FF
        sta BG3VOFS
        lda #$03
        sta BG3VOFS

        lda #$05                ; BG1 and BG3 on the main screen
        sta TM
        lda #$0F                ; forced blank off, full brightness
        sta INIDISP
forever:
        wai
        bra forever

; Decodes the graphic whose record is X bytes into the directory to
; [target], at most `limit` bytes; `produced` is how many it stored.
; Called with 8-bit A, 16-bit X and Y.
.a8
.i16
decode:
        rep #$20
        .a16
        lda f:DIRECTORY + RECORD_UNPACKED,x
        bne @sized
        lda #1                  ; a size of 0 still gives one byte
@sized:
        cmp limit
        bcs @limited
        sta limit
@limited:
        lda f:DIRECTORY + RECORD_ADDRESS,x
        sta source
        sep #$20
        .a8
        lda f:DIRECTORY + RECORD_ADDRESS + 2,x
        sta source+2
        ldy #$0000
@group:
        jsr next_byte
        sta control
        jsr next_byte
        sta fill
        lda #8
        sta flags
@flag:
        cpy limit
        bcs @done
        asl control
        bcc @fill
        jsr next_byte           ; 1: the next literal
        bra @store
@fill:
        lda fill                ; 0: the fill byte
@store:
        sta [target],y
        iny
        dec flags
        bne @flag
        bra @group
@done:
        sty produced
        rts

; A = the stream byte at `source`, which then moves on: past $xx:FFFF to
; the next bank's $8000, where LoROM shows the following 32 KiB.
.a8
.i16
next_byte:
        lda [source]
        pha
        rep #$20
        .a16
        inc source
        bne @same_bank
        lda #$8000
        sta source
        sep #$20
        .a8
        inc source+2
@same_bank:
        sep #$20
        .a8
        pla
        rts

; Copies `produced` bytes from A:Y to video memory at word X.
.a8
.i16
copy_to_vram:
        stx VMADD
        sta A1B0
        sty A1T0
        lda #$01                ; two registers, low then high
        sta DMAP0
        lda #<VMDATA
        sta BBAD0
        ldx produced
        stx DAS0
        lda #$01
        sta MDMAEN
        rts

; Draws the first string of the 16-bit table in the text box, as the game's
; text engine would: the end token ends it (not drawn); the line break
; moves to the next line; the control code and its parameter bytes are
; not drawn; a dictionary word's code is drawn as its characters, one glyph
; each (the longest code first, as the descriptor lists them); any other
; byte is one glyph, the font tile of its value. Glyphs past the 28th cell
; of a line and lines past the third are not drawn.
.a8
.i16
text_box:
        lda f:DESCRIPTOR
        sta end_code
        lda f:DESCRIPTOR + 1
        sta break_code
        lda f:DESCRIPTOR + 2
        sta control_code
        lda f:DESCRIPTOR + 3
        sta parameters
        stz parameters+1
        stz line
        stz cell
        rep #$20
        .a16
        lda f:TEXT_TABLE        ; the first pointer: the string in bank $98
        sta string
        sep #$20
        .a8
        lda #TEXT_BANK
        sta string+2
        ldy #$0000
@next:
        cpy #TEXT_LIMIT
        bcs @done
        lda [string],y
        cmp end_code
        beq @done
        cmp break_code
        bne @not_break
        iny
        stz cell
        lda line
        cmp #BOX_LINES
        bcs @next
        inc line
        bra @next
@not_break:
        cmp control_code
        bne @not_control
        rep #$20
        .a16
        tya
        sec                     ; the code, then its parameters
        adc parameters
        tay
        sep #$20
        .a8
        bra @next
@not_control:
        jsr dictionary_word
        bcs @next
        lda [string],y
        jsr draw_glyph
        iny
        bra @next
@done:
        rts

; When a dictionary word's code starts at [string],y: draws its characters,
; moves Y past the code and sets the carry; else leaves Y and clears it.
.a8
.i16
dictionary_word:
        lda f:DESCRIPTOR + 4
        sta words_left
        ldx #WORDS
@word:
        lda words_left
        beq @none
        stx word
        sty start_y
        lda f:DESCRIPTOR,x      ; the record's size
        sta skip
        stz skip+1
        inx
        lda f:DESCRIPTOR,x      ; the code's length
        sta remaining
        inx
@compare:
        lda f:DESCRIPTOR,x
        cmp [string],y
        bne @other
        inx
        iny
        dec remaining
        bne @compare
        lda f:DESCRIPTOR,x      ; the text's length
        sta remaining
        inx
@character:
        lda remaining
        beq @found
        lda f:DESCRIPTOR,x
        jsr draw_glyph
        inx
        dec remaining
        bra @character
@found:
        sec
        rts
@other:
        ldy start_y
        rep #$20
        .a16
        lda word
        clc
        adc skip
        tax
        sep #$20
        .a8
        dec words_left
        bra @word
@none:
        clc
        rts

; Draws the glyph of code A in the box's next cell, when the cell and its
; line lie in the box. Keeps X and Y.
.a8
.i16
draw_glyph:
        pha
        lda line
        cmp #BOX_LINES
        bcs @clipped
        lda cell
        cmp #BOX_CELLS
        bcs @clipped
        inc cell
        rep #$20
        .a16
        lda line                ; the cell's map entry: BG3_MAP + row * 32 + column
        and #$00FF
        xba                     ; line * 64: two tile rows a line
        lsr a
        lsr a
        sta produced
        lda cell
        and #$00FF
        clc
        adc produced
        adc #BG3_MAP + BOX_ROW * 32 + BOX_COLUMN - 1
        sta VMADD
        sep #$20
        .a8
        pla
        sta VMDATA              ; tile = the code
        stz VMDATA+1
        rts
@clipped:
        pla
        rts

unused_interrupt:
        rti

zero:
        .word $0000

.define GREY(level) ((level) | (level) << 5 | (level) << 10)
text_greys:
        .word GREY(0), GREY(10), GREY(21), GREY(31)
; Level i of 16: round(31 i / 15).
picture_greys:
        .word GREY(0), GREY(2), GREY(4), GREY(6), GREY(8), GREY(10), GREY(12), GREY(14)
        .word GREY(17), GREY(19), GREY(21), GREY(23), GREY(25), GREY(27), GREY(29), GREY(31)

; The vectors, right after the internal header: native mode first, then
; emulation mode (the console starts in emulation mode, at RESET).
.segment "VECTORS"
        .word 0, 0                                          ; $FFE0
        .word unused_interrupt, unused_interrupt            ; COP, BRK
        .word unused_interrupt, unused_interrupt            ; ABORT, NMI
        .word 0, unused_interrupt                           ; -, IRQ
        .word 0, 0                                          ; $FFF0
        .word unused_interrupt, 0                           ; COP, -
        .word unused_interrupt, unused_interrupt            ; ABORT, NMI
        .word reset, unused_interrupt                       ; RESET, IRQ/BRK
