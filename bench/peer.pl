#!/usr/bin/perl
# The by-hand way to do what vemofix does, for the benchmark's comparison: each row "old,new"
# of the table replaces the first "FontName:old" in the list, letter case ignored, as a text
# editor's search and replace would; no backup, no flush, no atomic replace.
#   perl bench/peer.pl TABLE LIST OUT
use strict;
use warnings;

@ARGV == 3 or die "usage: peer.pl TABLE LIST OUT\n";
my ($table_path, $list_path, $out_path) = @ARGV;

# The file's bytes as they are: the list and the table are CP932.
sub read_bytes {
    my ($path) = @_;
    open(my $file, '<:raw', $path) or die "$path: $!\n";
    local $/;
    my $bytes = <$file>;
    close($file);
    return $bytes;
}

my $list = read_bytes($list_path);
for my $row (split /\r?\n/, read_bytes($table_path)) {
    my ($old, $new) = split /,/, $row, 2;
    next unless defined $new && length $old && length $new;
    next unless $list =~ /FontName:\Q$old\E/i;
    substr($list, $-[0], $+[0] - $-[0]) = "FontName:$new";
}

open(my $out, '>:raw', $out_path) or die "$out_path: $!\n";
print {$out} $list;
close($out) or die "$out_path: $!\n";
