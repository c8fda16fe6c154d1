#!/usr/bin/env bash
# Makes the WAV files the reader's tests read. Run it in this folder with
# Debian's sox 14.4.2; its results are committed, so it need not run again
# unless a fixture is added or changed.
#
# Files of sox come with NAME.raw, the data bytes sox itself reads from them
# (sox NAME.wav -t raw NAME.raw), which the tests compare the reader's data
# chunk with. -D keeps sox from dithering, so the same command gives the
# same bytes. Sample counts are odd where a sample is one or three bytes, so
# that the data chunk ends with a pad byte.
set -euo pipefail
cd "$(dirname "$0")"

# 24 bits, three channels: sox writes WAVE_FORMAT_EXTENSIBLE (a fmt chunk of
# 40 bytes) and a fact chunk; 15 frames of 9 bytes.
sox -D -n -r 8000 -c 3 -b 24 extensible24x3.wav synth 0.001875 sine 440
# u-law and A-law: a fmt chunk of 18 bytes and a fact chunk; 33 bytes of data.
sox -D -n -r 8000 -c 1 -e u-law ulaw.wav synth 0.004125 sine 440
sox -D -n -r 8000 -c 1 -e a-law alaw.wav synth 0.004125 sine 440
# 32-bit float, two channels.
sox -D -n -r 8000 -c 2 -e floating-point -b 32 float32.wav synth 0.002 sine 440
# Written to a pipe, sox cannot go back to the sizes: it claims 0x7FFFF000
# bytes of data and holds 8 (read as data to the end of the file).
sox -D -n -r 8000 -c 1 -b 8 -t wav - synth 0.001 sine 440 2>/dev/null | cat >sox_pipe.wav

le16() { printf "\\x$(printf %02x $(($1 & 255)))\\x$(printf %02x $(($1 >> 8 & 255)))"; }
le32() { le16 $(($1 & 65535)); le16 $(($1 >> 16 & 65535)); }
le64() { le32 $(($1 & 0xFFFFFFFF)); le32 $(($1 >> 32 & 0xFFFFFFFF)); }
chunk() { printf '%s' "$1"; le32 "$2"; }                      # id, size
fmt16() { chunk 'fmt ' 16; le16 1; le16 1; le32 8000; le32 8000; le16 1; le16 8; }  # 8-bit mono PCM
riff() { printf '%s' "$1"; le32 0xFFFFFFFF; printf WAVE; }   # form; the reader ignores the RIFF size
ds64() { chunk ds64 28; le64 0; le64 "$1"; le64 "$1"; le32 0; }  # RIFF size, data size, samples, table

# A LIST chunk before the data. sox 14.4.2 writes none (--comment leaves its
# WAV output without a comment), so one is put between the fmt and data
# chunks of its 44-byte-header output: "LIST", 34, "INFO", then "ICMT", 22
# and the 22 bytes of "Quenmarl test fixture" and its NUL.
sox -D -n -r 8000 -c 1 -b 16 plain.wav synth 0.004 sine 440
{
  printf RIFF; le32 $(($(stat -c %s plain.wav) - 8 + 42))
  head -c 36 plain.wav | tail -c 28
  chunk LIST 34; printf INFO; chunk ICMT 22; printf 'Quenmarl test fixture\0'
  tail -c +37 plain.wav
} >list_comment.wav
rm plain.wav

for wav in extensible24x3 ulaw alaw float32 list_comment; do
  sox "$wav.wav" -t raw "$wav.raw"
done

# Made by hand: RF64 and BW64 whose data size is in the ds64 chunk (BW64's
# claims 10 bytes and holds 6), a size left open by a writer that streamed,
# data before fmt behind odd-sized chunks, an empty data chunk, and u-law
# cut off inside its data (23 of 33 bytes).
{ riff RF64; ds64 6; fmt16; chunk data 0xFFFFFFFF; printf '\1\2\3\4\5\6'; } >rf64.wav
{ riff BW64; ds64 10; fmt16; chunk data 0xFFFFFFFF; printf '\1\2\3\4\5\6'; } >bw64.wav
{ riff RIFF; fmt16; chunk data 0xFFFFFFFF; printf '\1\2\3\4\5\6\7\10'; } >stream.wav
{ riff RIFF; chunk JUNK 3; printf 'abc\0'; chunk data 3; printf '\1\2\3\0'; chunk LIST 0; fmt16; } >data_first.wav
{ riff RIFF; fmt16; chunk data 0; chunk LIST 4; printf INFO; } >empty_data.wav
head -c 81 ulaw.wav >cut_off.wav

# Files the reader refuses.
{ riff RIFX; fmt16; chunk data 1; printf '\1\0'; } >rifx.wav
{ riff RIFF; fmt16; chunk LIST 4; printf INFO; } >no_data.wav
{ riff RIFF; chunk data 2; printf '\1\2'; chunk JUNK 0; } >no_fmt.wav
{ riff RIFF; chunk data 0xFFFFFFFF; printf '\1\2'; fmt16; } >no_fmt_before_open_data.wav
{ riff RIFF; fmt16; chunk $'\1IST' 1000; printf INFO; chunk data 1; printf '\1\0'; } >past_end.wav
{ riff RF64; fmt16; chunk data 1; printf '\1\0'; } >no_ds64.wav
{ riff RIFF; chunk 'fmt ' 14; le16 1; le16 1; le32 8000; le32 8000; le16 1; chunk data 1; printf '\1\0'; } >short_fmt.wav
