// A picture of the current diagram: the SVG as the server renders it, and a
// PNG the browser paints from that SVG.

function download(blob, name) {
  const link = document.createElement('a');
  link.href = URL.createObjectURL(blob);
  link.download = name;
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(link.href), 10000);
}

function fileStem(caption) {
  return (caption || 'diagram').replace(/[^\p{L}\p{N}_-]+/gu, '_').replace(/^_+|_+$/g, '') || 'diagram';
}

export async function diagramSvg() {
  const response = await fetch('/api/export.svg', { cache: 'no-store' });
  if (!response.ok) throw new Error((await response.json()).error);
  return response.text();
}

export async function exportSvg(caption) {
  download(new Blob([await diagramSvg()], { type: 'image/svg+xml' }), `${fileStem(caption)}.svg`);
}

// The PNG as a Blob; fails where the browser can not paint the SVG.
export async function diagramPng() {
  const text = await diagramSvg();
  const url = URL.createObjectURL(new Blob([text], { type: 'image/svg+xml' }));
  try {
    const image = new Image();
    image.src = url;
    await image.decode();
    const canvas = document.createElement('canvas');
    canvas.width = image.naturalWidth || 200;
    canvas.height = image.naturalHeight || 100;
    canvas.getContext('2d').drawImage(image, 0, 0);
    return await new Promise((resolve, reject) =>
      canvas.toBlob((blob) => (blob ? resolve(blob) : reject(new Error('no PNG'))), 'image/png'));
  } finally {
    URL.revokeObjectURL(url);
  }
}

export async function exportPng(caption) {
  download(await diagramPng(), `${fileStem(caption)}.png`);
}
